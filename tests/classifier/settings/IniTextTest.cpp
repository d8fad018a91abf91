#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "settings/IniText.h"

namespace {

// Texts that need every kind of escaping the INI form knows.
IniText::Map AwkwardValues() {
    return {{QStringLiteral("Cell Size/Cell Width"), QStringLiteral("1500")},
            {QStringLiteral("Odd: Section/Key=with;signs"), QStringLiteral("a, b; c = d")},
            {QStringLiteral("Texts/Blanks"), QStringLiteral("  padded  ")},
            {QStringLiteral("Texts/Quotes and slashes"), QStringLiteral("say \"hi\" \\ there")},
            {QStringLiteral("Texts/At"), QStringLiteral("@Variant is text here")},
            {QStringLiteral("Texts/Lines"), QStringLiteral("one\ntwo\tthree")},
            {QStringLiteral("Texts/Unicode"), QStringLiteral("Grüße, 音")},
            {QStringLiteral("Texts/Empty"), QString()},
            {QStringLiteral("Top level"), QStringLiteral("no section")},
            {QStringLiteral("General/Own"), QStringLiteral("a section called General")}};
}

}  // namespace

TEST(IniText, QtsOwnIniReaderReadsWhatItWrites) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("written.conf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(IniText::Serialize(AwkwardValues()));
    file.close();

    QSettings qt(path, QSettings::IniFormat);
    const IniText::Map expected = AwkwardValues();
    EXPECT_EQ(qt.allKeys().size(), expected.size());
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        EXPECT_EQ(qt.value(it.key()).toString(), it.value()) << it.key().toStdString();
}

TEST(IniText, ReadsWhatQtsOwnIniWriterWrites) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("qt.conf"));
    {
        QSettings qt(path, QSettings::IniFormat);
        const IniText::Map values = AwkwardValues();
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            qt.setValue(it.key(), it.value());
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(IniText::Parse(file.readAll()), AwkwardValues());
}

TEST(IniText, KeepsWhatSurvivedInADamagedText) {
    const char damaged[] =
        "\xff\xfe\x00garbage without equals\n"
        "[Cell%20Size]\n"
        "Cell%20Width = 1500 \r\n"
        "=no key\n"
        "; a comment=not a key\n"
        "[Menu Defaults\n"
        "Play=True\n"
        "[Spectrogram Parameters]\n"
        "Hop Size=64\n";
    const IniText::Map expected{
        {QStringLiteral("Cell Size/Cell Width"), QStringLiteral("1500")},
        {QStringLiteral("Spectrogram Parameters/Hop Size"), QStringLiteral("64")}};
    EXPECT_EQ(IniText::Parse(QByteArray(damaged, sizeof damaged - 1)), expected);
}
