#include "keys/KeyListImport.h"

#include "core/CorvaneError.h"
#include "core/MessageBox.h"
#include "keys/ClassifyKeySetter.h"
#include "keys/KeyListFile.h"
#include "keys/mdlKeycodes.h"

namespace KeyListImport {
namespace {

void BindRecord(const KeyListFile::Record& record, IClassifierKeys& keys, IMessageBox& messages) {
    if (record.fault != KeyListFile::LineFault::None) {
        messages.Warn(KeyListFile::FaultMessage(record));
        return;
    }
    KeyStroke keyStroke;
    try {
        keyStroke = mdlKeycodes::ParseKeyDescription(record.description);
    } catch (const CorvaneError& failure) {
        messages.Warn(failure.Description());
        return;
    }
    keys.SetClassifyKey(keyStroke.KeyCode, keyStroke.Shift,
                        KeyListFile::IsClassifyAll(record.scope), record.directory, messages);
}

}  // namespace

void BindLines(QByteArrayView contents, IClassifierKeys& keys, IMessageBox& messages) {
    for (const KeyListFile::Record& record : KeyListFile::ReadRecords(contents)) {
        BindRecord(record, keys, messages);
    }
}

}  // namespace KeyListImport
