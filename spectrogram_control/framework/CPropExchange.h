#pragma once

#include <QDataStream>
#include <QSize>
#include <QString>
#include <cstdint>


// The property exchange of a control: one object that either writes the
// persisted values of a control to a stream or reads them back, in the same
// order, so that a control describes its persistence once.
class CPropExchange {
public:
    enum class Direction { Saving, Loading };

    CPropExchange(QDataStream& stream, Direction direction);

    bool IsLoading() const { return m_direction == Direction::Loading; }
    // False once a read ran past the end of the stream or found bad data.
    bool IsValid() const { return m_stream.status() == QDataStream::Ok; }
    // Marks a stream that was read but cannot be used (e.g. a newer layout).
    void SetInvalid() { m_stream.setStatus(QDataStream::ReadCorruptData); }

    // Exchanges the version (major in the high 16 bits, minor in the low 16).
    // While loading, `version` receives the stored version.
    void ExchangeVersion(std::uint32_t& version);
    void ExchangeSize(QSize& size);
    void ExchangeString(QString& value);

private:
    QDataStream& m_stream;
    Direction m_direction;
};
