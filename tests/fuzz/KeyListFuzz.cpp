// libFuzzer entry: every input is taken as the bytes of a key list file and
// goes through the import as the File menu runs it (lines found and decoded one
// by one, read into records, the keystroke parsed, the folder checked, the
// messages held back after twenty) into a key map kept as the main window keeps
// it; the map then goes out through the export and back in. Run under
// AddressSanitizer and UndefinedBehaviorSanitizer.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "core/CorvaneError.h"
#include "core/MessageBox.h"
#include "keys/ClassifierKeyMap.h"
#include "keys/ClassifyKeySetter.h"
#include "keys/ImportMessageBox.h"
#include "keys/KeyListFile.h"
#include "keys/KeyListImport.h"
#include "keys/TargetFolder.h"
#include "keys/mdlKeycodes.h"

namespace {

// Counts warnings, passing them on; an import never asks nor informs.
class CountingMessages : public IMessageBox {
public:
    explicit CountingMessages(IMessageBox* next = nullptr) : m_next(next) {}
    void Warn(const QString& text) override {
        if (text.isEmpty()) std::abort();
        ++warned;
        if (m_next) m_next->Warn(text);
    }
    bool AskOkCancel(const QString&) override { std::abort(); }
    void Inform(const QString&) override { std::abort(); }

    int warned = 0;

private:
    IMessageBox* m_next;
};

// The key map as the main window binds into it: the folder is checked first,
// then the keystroke.
class KeyMap : public IClassifierKeys {
public:
    void SetClassifyKey(std::int16_t, std::int16_t, bool, const QString&) override {
        std::abort();  // the import reports through its own messages
    }
    void SetClassifyKey(std::int16_t keyCode, std::int16_t shift, bool classifyAll,
                        const QString& TargetDir, IMessageBox& messages) override {
        const std::optional<QString> folder = TargetFolder::AsFolderPath(TargetDir);
        if (!folder) {
            messages.Warn(
                TargetFolder::RefusalMessage(TargetDir, mdlKeycodes::KeyText(keyCode, shift)));
            return;
        }
        QString boundDir;
        if (!map.Add(keyCode, shift, classifyAll, *folder, &boundDir)) {
            messages.Warn(QStringLiteral("Keystroke %1 is already being used for %2")
                              .arg(mdlKeycodes::KeyText(keyCode, shift), boundDir));
        }
    }
    void EraseClassifyKeys() override { map.Clear(); }

    ClassifierKeyMap map;
};

// Imports `contents`; aborts unless every line that is not blank either bound a
// keystroke or gave exactly one message.
void Import(const QByteArray& contents, KeyMap& keys, CountingMessages& shown) {
    ImportMessageBox held(shown);
    CountingMessages all(&held);
    keys.EraseClassifyKeys();
    KeyListImport::BindLines(contents, keys, all);
    held.ShowSummary();
    const auto lines = static_cast<int>(KeyListFile::ReadRecords(contents).size());
    if (keys.map.Keys().size() + all.warned != lines) std::abort();
    const int expectedShown = all.warned <= ImportMessageBox::ShownProblems
                                  ? all.warned
                                  : ImportMessageBox::ShownProblems + 1;
    if (shown.warned != expectedShown) std::abort();
}

// A bound folder is an absolute folder path, on one line.
void CheckFolders(const ClassifierKeyMap& map) {
    for (const QString& bindingKey : map.Keys()) {
        const QString folder = map.Dir(bindingKey);
        if (!folder.startsWith(u'/') || !folder.endsWith(u'/') || folder.contains(u'\n') ||
            folder.contains(u'\r')) {
            std::abort();
        }
    }
}

// The keystroke the words of `bindingKey` name when read back; nothing when
// they name none.
std::optional<QString> ReadBack(const QString& bindingKey) {
    const std::optional<KeyStroke> keyStroke = mdlKeycodes::ParseBindingKey(bindingKey);
    if (!keyStroke) std::abort();
    try {
        return mdlKeycodes::BindingKey(mdlKeycodes::ParseKeyDescription(
            mdlKeycodes::KeyText(keyStroke->KeyCode, keyStroke->Shift)));
    } catch (const CorvaneError&) {
        return std::nullopt;
    }
}

// Export followed by import gives back every binding the file can hold and
// whose keystroke has words, in the same order, and nothing else.
void CheckRoundTrip(const ClassifierKeyMap& map) {
    QStringList leftOut;
    const QByteArray exported = KeyListFile::Format(map, &leftOut);
    KeyMap reread;
    CountingMessages shown;
    Import(exported, reread, shown);
    QStringList expected;
    for (const QString& bindingKey : map.Keys()) {
        if (!KeyListFile::CanHoldDirectory(map.Dir(bindingKey))) continue;
        const std::optional<QString> named = ReadBack(bindingKey);
        if (!named) continue;
        // A keystroke's own words must never name another keystroke.
        if (*named != bindingKey) std::abort();
        expected.append(bindingKey);
        if (reread.map.Dir(bindingKey) != map.Dir(bindingKey) ||
            reread.map.AllFlag(bindingKey) != map.AllFlag(bindingKey)) {
            std::abort();
        }
    }
    if (reread.map.Keys() != expected) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray contents(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // The import refuses these before it reads a line.
    if (size > KeyListFile::MaxFileSize || !KeyListFile::LooksLikeText(contents)) return 0;
    KeyMap keys;
    CountingMessages shown;
    Import(contents, keys, shown);
    CheckFolders(keys.map);
    CheckRoundTrip(keys.map);
    return 0;
}
