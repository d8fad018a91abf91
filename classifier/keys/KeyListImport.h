#pragma once

#include <QByteArrayView>

class IClassifierKeys;
class IMessageBox;

// What an import does with the bytes of a key list file once it has them.
namespace KeyListImport {

// Binds the keystroke of every line through `keys`, in file order, adding to
// the bindings it has. A line that binds nothing is reported in `messages`,
// one message a line: a line with a fault (KeyListFile::FaultMessage), an
// unknown keystroke (the parser's text), or whatever `keys` refuses.
void BindLines(QByteArrayView contents, IClassifierKeys& keys, IMessageBox& messages);

}  // namespace KeyListImport
