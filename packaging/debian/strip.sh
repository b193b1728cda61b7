#!/bin/sh
# Strips a program as Debian's own packaging does: symbols, and the
# compiler's notes that nothing reads at run time.
exec strip --remove-section=.comment --remove-section=.note "$@"
