#include "core/CorvaneError.h"

#include <cstring>

CorvaneError::CorvaneError(int number, const QString& description)
    : std::runtime_error(description.toStdString()), m_number(number), m_description(description) {}

CorvaneError CorvaneError::FromSystem(int error) {
    return CorvaneError(error, SystemErrorText(error));
}

CorvaneError CorvaneError::Overflow() {
    return CorvaneError(CorvaneErrorNumber::Overflow, QStringLiteral("Overflow"));
}

CorvaneError CorvaneError::TypeMismatch() {
    return CorvaneError(CorvaneErrorNumber::TypeMismatch, QStringLiteral("Type mismatch"));
}

QString SystemErrorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}
