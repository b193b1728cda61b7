#!/usr/bin/env bash
# Tests the Windows build under Wine, headless, every step bounded in time:
#   1. builds it (scripts/build-windows.sh --tests; Qt comes from its cache);
#   2. runs the core's test programs for Windows in a fresh Wine prefix, the
#      serial contract on a pseudo-terminal cable mapped to COM1 and COM2;
#   3. end to end: tq540sim (the Linux build) plays the display on COM1, and
#      tq540ctl.exe download, upload, find and test must give the images and
#      outputs that the Linux tq540ctl gives;
#   4. installs the installer silently in a fresh prefix, starts the window,
#      opens a .vfd through its association, uninstalls and looks for leftovers;
#   5. prints the figures: installer size, download times, window start-up.
# Work files go to build/wine; the window's screenshot to docs/.
#   scripts/test-windows.sh             all of it
#   scripts/test-windows.sh --no-build  tests what build/windows holds
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
windows="$root/build/windows"
linux="$root/build/tests"
work="$root/build/wine"
shot="$root/docs/tq540setup-wine.png"

sudo=""
if [[ "$(id -u)" -ne 0 ]]; then
    sudo="sudo"
fi
missing=()
for p in wine wine64 xvfb xdotool imagemagick fonts-wine; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [[ "${1:-}" != --no-build ]]; then
    "$root/scripts/build-windows.sh" --tests
fi
installer="$(ls "$windows"/TQ-540-Setup-*.exe)"

# The Linux programs the Windows ones are compared with.
if [[ ! -f "$linux/build.ninja" ]]; then
    cmake -S "$root" -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTQ540_WERROR=ON >/dev/null
fi
cmake --build "$linux" --target tq540sim tq540ctl com_pair >/dev/null
sim="$linux/src/sim/tq540sim"
ctl="$linux/src/ctl/tq540ctl"

wine64="$(command -v wine64 || echo /usr/lib/wine/wine64)"
# No Mono or Gecko prompts, and no menu entries or file types of the
# prefix written into the real home folder.
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
rm -rf "$work"
mkdir -p "$work"
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
now_ms() { date +%s%3N; }
# Runs a command every tenth of a second until it succeeds, at most N times.
wait_until() { # N, command...
    local tries="$1"
    shift
    for _ in $(seq "$tries"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

children=()
cleanup() {
    for pid in "${children[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    if [[ -n "${WINEPREFIX:-}" ]]; then
        timeout 20 wineserver -k >/dev/null 2>&1 || true
    fi
}
trap cleanup EXIT

# A display of our own for the windows.
display=70
while [[ -e /tmp/.X$display-lock ]]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
children+=($!)
export DISPLAY=":$display"

# A fresh prefix; the Wine server of the previous one is stopped first.
new_prefix() {
    if [[ -n "${WINEPREFIX:-}" ]]; then
        timeout 20 wineserver -k >/dev/null 2>&1 || true
        timeout 20 wineserver -w >/dev/null 2>&1 || true
    fi
    export WINEPREFIX="$1"
    timeout 180 "$wine64" wineboot -i >"$WINEPREFIX.boot.log" 2>&1
    timeout 60 wineserver -w
    start_wineserver
}
# The server runs until it is told to stop, writing into a log of its own:
# one started by a program would write into that program's output.
start_wineserver() {
    wineserver -p >>"$work/wineserver.log" 2>&1 || true
}

# Maps COMn to a path (a link to a pseudo-terminal); Wine reads the mapping
# when its server starts.
map_port() {
    timeout 30 "$wine64" reg add 'HKLM\Software\Wine\Ports' /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1
}
restart_wine() {
    timeout 20 wineserver -k >/dev/null 2>&1 || true
    timeout 20 wineserver -w >/dev/null 2>&1 || true
    start_wineserver
}
run_win() { # timeout, program, arguments...
    local limit="$1"
    shift
    timeout "$limit" "$wine64" "$@"
}

# ---- 2. the core's tests ------------------------------------------------------
echo "== Test programs under Wine"
new_prefix "$work/prefix"
pair="$work/pair"
mkdir -p "$pair"
"$linux/tests/tools/com_pair" "$pair" --seconds 900 >"$work/com_pair.log" 2>&1 &
children+=($!)
wait_until 50 grep -q ready "$work/com_pair.log" || fail "com_pair did not start"
map_port COM1 "$pair/line"
map_port COM2 "$pair/far"
restart_wine
export TQ540_COM_PAIR="Z:$pair"
mkdir -p "$work/results"
passed=0
while IFS= read -r test; do
    name="$(basename "$test" .exe)"
    # QtTest writes nothing to the console under Wine: it writes a file.
    (cd "$work/results" && run_win 300 "$test" -o "$name.txt,txt" >/dev/null 2>&1) && rc=0 || rc=$?
    totals="$(tr -d '\r' <"$work/results/$name.txt" 2>/dev/null | grep '^Totals' || echo "no result")"
    printf '%-24s %s\n' "$name" "$totals"
    if ((rc != 0)); then
        tr -d '\r' <"$work/results/$name.txt" 2>/dev/null | grep -A3 '^FAIL' | head -20 || true
        fail "$name (exit $rc)"
    else
        passed=$((passed + 1))
    fi
done < <(find "$windows/tests" -name 'tst_*.exe' 2>/dev/null | sort)
unset TQ540_COM_PAIR
echo "$passed test programs passed"

# ---- 3. end to end against tq540sim -------------------------------------------
echo "== tq540ctl.exe against tq540sim on COM1"
e2e="$work/e2e"
mkdir -p "$e2e/windows" "$e2e/linux"
"$ctl" new -o "$e2e/shop.vfd" --command CD5220 --char GERMANY --line1 "Kasse 3" \
    --line2 "Willkommen" >/dev/null
cp "$windows/src/ctl/tq540ctl.exe" "$e2e/windows/"

# Starts a simulator that saves into a folder; sim_port says its port. Not in
# a subshell: tq540sim ends with its parent.
start_sim() { # folder, options...
    local folder="$1"
    shift
    "$sim" --quiet --save "$folder/display.vfd" --screen "$folder/screen.txt" "$@" \
        >"$folder/sim.out" 2>&1 &
    children+=($!)
    wait_until 50 grep -qs '^port: ' "$folder/sim.out" || fail "tq540sim did not start"
    sim_port="$(sed -n 's/^port: //p' "$folder/sim.out")"
}
# Runs one tq540ctl job on both systems: output and exit status of each,
# with the port's name made the same.
both() { # name, arguments (PORT stands for the port)...
    local name="$1"
    shift
    local start
    start=$(now_ms)
    (cd "$e2e/windows" && run_win 60 ./tq540ctl.exe "${@//PORT/COM1}" >"$name.out" 2>&1) &&
        echo 0 >"$e2e/windows/$name.rc" || echo $? >"$e2e/windows/$name.rc"
    echo $(($(now_ms) - start)) >"$e2e/windows/$name.ms"
    start=$(now_ms)
    (cd "$e2e/linux" && timeout 60 "$ctl" "${@//PORT/$linux_port}" >"$name.out" 2>&1) &&
        echo 0 >"$e2e/linux/$name.rc" || echo $? >"$e2e/linux/$name.rc"
    echo $(($(now_ms) - start)) >"$e2e/linux/$name.ms"
    tr -d '\r' <"$e2e/windows/$name.out" | sed 's/COM1/PORT/g' >"$e2e/windows/$name.txt"
    sed "s|$linux_port|PORT|g" "$e2e/linux/$name.out" >"$e2e/linux/$name.txt"
    cmp -s "$e2e/linux/$name.rc" "$e2e/windows/$name.rc" || fail "tq540ctl $name: other exit status"
    echo "$name: $(head -1 "$e2e/windows/$name.txt")"
}
same_output() { # name
    diff -u "$e2e/linux/$1.txt" "$e2e/windows/$1.txt" || fail "tq540ctl $1 differs between Linux and Windows"
}

new_prefix "$work/prefix"
start_sim "$e2e/windows"
windows_port="$sim_port"
start_sim "$e2e/linux"
linux_port="$sim_port"
ln -sfn "$windows_port" "$e2e/com1"
map_port COM1 "$e2e/com1"
restart_wine
# Wine's own start-up, to tell it from the transfer.
start=$(now_ms)
(cd "$e2e/windows" && run_win 60 ./tq540ctl.exe --version >/dev/null 2>&1) || true
wine_start_ms=$(($(now_ms) - start))

both download download ../shop.vfd --port PORT
same_output download
for side in windows linux; do
    cmp -s "$e2e/shop.vfd" "$e2e/$side/display.vfd" || fail "the $side download is not byte-exact"
done
both upload upload --port PORT -o uploaded.vfd
same_output upload
for side in windows linux; do
    cmp -s "$e2e/shop.vfd" "$e2e/$side/uploaded.vfd" || fail "the $side upload is not byte-exact"
done
both find find --port PORT
same_output find
both test test --port PORT
same_output test
cmp -s "$e2e/windows/screen.txt" "$e2e/linux/screen.txt" || fail "the test screens differ"
# A display that goes away in the middle of a download: the same failure.
mkdir -p "$e2e/windows/lost" "$e2e/linux/lost"
start_sim "$e2e/windows/lost" --drop-after 40
windows_port="$sim_port"
start_sim "$e2e/linux/lost" --drop-after 40
linux_port="$sim_port"
ln -sfn "$windows_port" "$e2e/com1"
restart_wine
both lost-line download ../shop.vfd --port PORT
# Where the line is seen to go (in sending, or while the last bytes leave)
# depends on timing; that it went, does not.
for side in windows linux; do
    grep -q 'the line to the display was lost' "$e2e/$side/lost-line.txt" ||
        fail "the $side download did not report the lost line"
done

# The ports the Windows list of serial ports names (Wine lists its COM ports).
(cd "$e2e/windows" && run_win 60 ./tq540ctl.exe ports | tr -d '\r' >ports.txt 2>&1) || true
echo "ports: $(head -3 "$e2e/windows/ports.txt" | tr '\n' ' ')"

# ---- 4. the installer ---------------------------------------------------------
echo "== The installer in a fresh prefix"
new_prefix "$work/installed"
leftovers() { # what a user could find afterwards: files and our registry entries
    find "$WINEPREFIX/drive_c" -path "$WINEPREFIX/drive_c/windows" -prune -o \
        -path '*/Temp' -prune -o -print | sed "s|$WINEPREFIX/||" | sort
    for key in 'HKLM\Software' 'HKCU\Software' \
        'HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'; do
        run_win 30 reg export "$key" "$work/registry.reg" /y >/dev/null 2>&1 || true
        iconv -f utf-16 -t utf-8 "$work/registry.reg" | tr -d '\r' |
            grep -iE 'tq540|tq-540|\.vfd' || true
    done
}
leftovers >"$work/before-install.txt"
run_win 120 "$installer" /S >/dev/null 2>&1 || fail "the installer failed"
program_files="$WINEPREFIX/drive_c/Program Files/TQ-540 Setup"
for f in tq540setup.exe tq540ctl.exe LICENSE.txt uninstall.exe; do
    [[ -f "$program_files/$f" ]] || fail "not installed: $f"
done
[[ -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/TQ-540_setup_V2.5.lnk" ]] ||
    fail "no Start-menu entry"
# tq540ctl from a new command prompt, through the PATH.
run_win 60 cmd /c tq540ctl --version 2>&1 | tr -d '\r' | grep -q "2.5" || fail "tq540ctl is not on the PATH"

# The window, started as a user starts it: from its Start-menu entry.
start=$(now_ms)
run_win 60 start 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\TQ-540_setup_V2.5.lnk' \
    >/dev/null 2>&1 || fail "the Start-menu entry does not start"
main_window() { xdotool search --name '^TQ-540_setup_V2.5$' 2>/dev/null | head -1 | grep .; }
wait_until 600 main_window >/dev/null || true
window_ms=$(($(now_ms) - start))
window="$(main_window || true)"
if [[ -z "$window" ]]; then
    fail "the installed window did not appear within 60 s"
else
    sleep 3 # painted
    mkdir -p "$(dirname "$shot")"
    import -window "$window" "$shot" 2>/dev/null || import -window root "$shot"
    echo "window: up after $window_ms ms; screenshot $shot"
fi
restart_wine

# A .vfd opened through its association starts the window on that file.
cp "$e2e/shop.vfd" "$work/Kasse 3.vfd"
run_win 60 start /unix "$work/Kasse 3.vfd" >/dev/null 2>&1 || true
opened_with_file() { pgrep -af 'tq540setup.exe' | grep -qF 'Kasse 3.vfd'; }
wait_until 300 opened_with_file || fail "the .vfd did not open in the window"
# "Are you sure to Load ?" comes in a box of its own.
asks() { xdotool search --onlyvisible --name '^Load File$' >/dev/null 2>&1; }
wait_until 300 asks || fail "the window did not ask before loading the .vfd"
restart_wine

run_win 120 'C:\Program Files\TQ-540 Setup\uninstall.exe' /S >/dev/null 2>&1 || fail "the uninstaller failed"
# It runs on from a copy of itself in Temp: wait for the folder to go.
wait_until 600 test ! -d "$program_files" || true
sleep 1
leftovers >"$work/after-uninstall.txt"
diff -u "$work/before-install.txt" "$work/after-uninstall.txt" || fail "the uninstaller left something behind"
timeout 20 wineserver -k >/dev/null 2>&1 || true

# ---- 5. figures ---------------------------------------------------------------
echo "== Figures"
echo "installer: $installer, $(stat -c %s "$installer") bytes"
echo "download of 129 bytes at 9600 (the line alone: 134 ms):" \
    "Windows build under Wine $(cat "$e2e/windows/download.ms") ms" \
    "(Wine's own start-up $wine_start_ms ms), Linux build $(cat "$e2e/linux/download.ms") ms"
echo "window start-up under Wine: $window_ms ms"
if ((failures)); then
    echo "test-windows.sh: $failures failure(s)"
    exit 1
fi
echo "test-windows.sh: all passed"
