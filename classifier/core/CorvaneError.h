#pragma once

#include <QString>
#include <stdexcept>

// The numbers of the errors the program raises. Those the platform also uses
// keep the platform's numbers, since users and key list files know them.
namespace CorvaneErrorNumber {
constexpr int ControlNotCreated = 0;        // the control module gave no control
constexpr int Overflow = 6;                 // "Overflow": a number does not fit its type
constexpr int TypeMismatch = 13;            // "Type mismatch": a text is no number
constexpr int ModuleNotLoaded = 48;         // the control module cannot be loaded or used
constexpr int DuplicateKey = 457;           // a key added to a key table a second time
constexpr int InvalidKeyDescription = 513;  // a key description that does not parse
constexpr int DialogCancelled = 32755;      // the user closed a file dialog without a choice
}  // namespace CorvaneErrorNumber

// An error raised by an operation, carrying a number and the text that the
// command reporting it shows to the user.
class CorvaneError : public std::runtime_error {
public:
    CorvaneError(int number, const QString& description);

    // The error of a failed system call: errno and the system's own
    // description of it ("No space left on device").
    static CorvaneError FromSystem(int error);
    static CorvaneError Overflow();
    static CorvaneError TypeMismatch();

    int Number() const { return m_number; }
    const QString& Description() const { return m_description; }

private:
    int m_number;
    QString m_description;
};

// The system's description of errno `error`, in the user's language.
QString SystemErrorText(int error);
