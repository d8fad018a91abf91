#include "framework/CPropExchange.h"

CPropExchange::CPropExchange(QDataStream& stream, Direction direction)
    : m_stream(stream), m_direction(direction) {
    m_stream.setVersion(QDataStream::Qt_6_4);
}

void CPropExchange::ExchangeVersion(std::uint32_t& version) {
    if (IsLoading()) {
        quint32 stored = 0;
        m_stream >> stored;
        version = stored;
    } else {
        m_stream << quint32{version};
    }
}

void CPropExchange::ExchangeSize(QSize& size) {
    if (IsLoading()) {
        qint32 width = 0;
        qint32 height = 0;
        m_stream >> width >> height;
        size = QSize(width, height);
    } else {
        m_stream << qint32{size.width()} << qint32{size.height()};
    }
}

void CPropExchange::ExchangeString(QString& value) {
    if (IsLoading()) {
        m_stream >> value;
    } else {
        m_stream << value;
    }
}
