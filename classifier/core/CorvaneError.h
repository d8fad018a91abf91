#pragma once

#include <QString>
#include <stdexcept>

// An error raised by an operation, carrying a number and the text that the
// command reporting it shows to the user.
class CorvaneError : public std::runtime_error {
public:
    CorvaneError(int number, const QString& description);

    int Number() const { return m_number; }
    const QString& Description() const { return m_description; }

private:
    int m_number;
    QString m_description;
};

// Error numbers of the program's own.
namespace CorvaneErrorNumber {
constexpr int DialogCancelled = 32755;      // the user closed a file dialog without a choice
constexpr int InvalidKeyDescription = 513;  // a key description that does not parse
}  // namespace CorvaneErrorNumber
