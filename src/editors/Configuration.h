#pragma once

#include <array>

#include <QByteArrayView>
#include <QObject>

#include "editors/CharacterEditor.h"
#include "editors/MessageLine.h"
#include "model/DisplaySettings.h"
#include "model/ImageCodec.h"
#include "model/SettingsImage.h"

// The whole configuration behind the window: the settings image, the
// positions of the display settings' lists, both message lines and the
// character editor. The widgets of the window bind to it; every rule lives
// here.
class Configuration : public QObject
{
    Q_OBJECT

public:
    explicit Configuration(QObject *parent = nullptr);

    SettingsImage &image() { return m_image; }
    const SettingsImage &image() const { return m_image; }
    MessageLine &line1() { return m_line1; }
    MessageLine &line2() { return m_line2; }
    CharacterEditor &characters() { return m_characters; }

    int listPosition(DisplaySetting setting) const;
    // Returns false and changes nothing for a position outside the list.
    bool setListPosition(DisplaySetting setting, int position);

    // Start-up after the lists are filled: the factory defaults, then both
    // lines in their hex view, the editor on character 1.
    void startUp();

    // "Set All Default": lists, messages (ASCII view), the whole character
    // area 69..122 cleared and the editor on an empty character 1.
    void SetAllDefault();

    // Copies lists and hex cells into the image (lines shown in ASCII are
    // switched to hex first). Leaves 0, the reserved bytes and the
    // character records alone.
    void AssembleImage();
    // The image AssembleImage would make, made in a copy: the window and
    // its views stay as they are.
    SettingsImage assembledImage() const;

    // A reply that passed its checks: the image takes all 127 bytes, the
    // lists take the values within their bounds, both lines show the bytes
    // in hex, and the editor redraws the character it stands on.
    void applyUpload(const SettingsImage &reply);

    // A settings file's 126 bytes. Checked first: on failure nothing changes
    // and false is returned. On success the image, lists and lines take the
    // file and the editor goes to character 1 drawn from it.
    bool applyFile(QByteArrayView configBytes);

    // Everything a whole change ("Set All Default", a load, an upload, a
    // line's "Clear") can alter: the image with its reserved bytes, the
    // lists, both lines with their views, the editor's character and its
    // working copy. Taking one back is restoring the one before it.
    struct Snapshot
    {
        SettingsImage image;
        std::array<int, DisplaySettings::Count> positions{};
        std::array<MessageLine::State, ImageCodec::LineCount> lines;
        CharacterEditor::State characters;
        bool operator==(const Snapshot &) const = default;
    };
    Snapshot snapshot() const;
    // Puts everything back as the snapshot holds it; the controls follow
    // the signals as they do for any change.
    void restore(const Snapshot &snapshot);

    // Whether 126 configuration bytes can be loaded: long enough, and every
    // setting's byte an entry of its list.
    static bool isLoadable(QByteArrayView configBytes);

signals:
    void listPositionChanged(DisplaySetting setting, int position);

private:
    MessageLine &line(std::size_t slot) { return slot == 0 ? m_line1 : m_line2; }
    const MessageLine &line(std::size_t slot) const { return slot == 0 ? m_line1 : m_line2; }
    void spreadMessages(const ImageCodec::Fields &fields);

    SettingsImage m_image;
    std::array<int, DisplaySettings::Count> m_positions{};
    MessageLine m_line1;
    MessageLine m_line2;
    CharacterEditor m_characters;
};
