#include <gtest/gtest.h>

#include "keys/ClassifierKeyMap.h"
#include "keys/KeyListFile.h"
#include "keys/mdlKeycodes.h"

using namespace KeyListFile;

TEST(KeyListFile, LineHasItsFieldsAtColumns25And40) {
    ClassifierKeyMap map;
    map.Add(0x41, 2, false, "/data/x/");
    const QByteArray expected = QByteArray("\"CTRL+A key\",") + QByteArray(11, ' ') +
                                "\"Selection\"," + QByteArray(3, ' ') + "\"/data/x/\"\r\n";
    EXPECT_EQ(Format(map), expected);
    EXPECT_EQ(expected.indexOf("\"Selection\""), 24);  // column 25
    EXPECT_EQ(expected.indexOf("\"/data"), 39);        // column 40

    ClassifierKeyMap all;
    all.Add(0x41, 2, true, "/d/");
    EXPECT_EQ(Format(all), QByteArray("\"CTRL+A key\",") + QByteArray(11, ' ') + "\"All\"," +
                               QByteArray(9, ' ') + "\"/d/\"\r\n");
}

TEST(KeyListFile, FieldEndingOneColumnBeforeTheNextNeedsNoBlank) {
    // With its quotes and comma field 1 takes columns 1 to 24: field 2 begins at 25.
    const QString first = mdlKeycodes::KeyText(0x70, 7);
    ASSERT_EQ(first.size() + 3, 24) << first.toStdString();
    EXPECT_EQ(FormatLine(first, false, "/d/").indexOf("\"Selection\""), 24);
    // Field 1 to column 26, a blank, field 2 from 28 to 39: field 3 begins at 40.
    const QString longer = mdlKeycodes::KeyText(0x24, 7);
    ASSERT_EQ(longer.size() + 3, 26) << longer.toStdString();
    const QString line = FormatLine(longer, false, "/d/");
    EXPECT_EQ(line.indexOf("\"Selection\""), 27);
    EXPECT_EQ(line.indexOf("\"/d/\""), 39);
}

TEST(KeyListFile, EmptyMapGivesNoBytes) {
    EXPECT_TRUE(Format(ClassifierKeyMap()).isEmpty());
}

TEST(KeyListFile, LongDescriptionGetsOneBlankAndReadsBack) {
    const QString keyText = mdlKeycodes::KeyText(0xDE, 7);  // a long name with every modifier
    const QString line = FormatLine(keyText, true, "/a, b/");
    ASSERT_GE(keyText.size() + 3, 24);
    EXPECT_TRUE(line.startsWith("\"" + keyText + "\", \"All\","));
    const std::vector<Record> records = ReadRecords((line + "\r\n").toUtf8());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].description, keyText);
    EXPECT_EQ(records[0].scope, "All");
    EXPECT_EQ(records[0].directory, "/a, b/");
}

TEST(KeyListFile, ReaderTakesQuotedAndUnquotedFieldsWithBlanks) {
    const std::vector<Record> records = ReadRecords(
        "\"Open paren\",  ALL ,\"/birds/\"\n"
        "\n"
        "  \"F1 key\"  , Selection,/plain/dir/  \r\n"
        "   \r\n"
        "\"a, b\",\"x\",\"/c\"");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].description, "Open paren");
    EXPECT_EQ(records[0].scope, "ALL");  // unquoted: blanks around it dropped
    EXPECT_TRUE(IsClassifyAll(records[0].scope));
    EXPECT_EQ(records[1].description, "F1 key");
    EXPECT_EQ(records[1].scope, "Selection");
    EXPECT_EQ(records[1].directory, "/plain/dir/");
    EXPECT_FALSE(IsClassifyAll(records[1].scope));
    EXPECT_EQ(records[2].description, "a, b");
    EXPECT_EQ(records[2].directory, "/c");
}

TEST(KeyListFile, EachLineIsDecodedOnItsOwn) {
    // A byte order mark, a UTF-8 line, a Windows line (0x96 an en dash, 0xE9 an
    // e acute), and UTF-8 again after a lone CR.
    const std::vector<Record> records = ReadRecords(
        "\xEF\xBB\xBF\"F1 key\",\"All\",\"/data/caf\xC3\xA9/\"\r\n"
        "\"Minus sign \x96 key\",\"All\",\"/data/caf\xE9/\"\r"
        "\"F2 key\",\"All\",\"/data/\xE2\x80\x93/\"");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].description, "F1 key");
    EXPECT_EQ(records[0].directory, QString::fromUtf8("/data/caf\u00e9/"));
    EXPECT_EQ(records[1].description, QString::fromUtf8("Minus sign \u2013 key"));
    EXPECT_EQ(records[1].directory, QString::fromUtf8("/data/caf\u00e9/"));
    EXPECT_EQ(records[2].directory, QString::fromUtf8("/data/\u2013/"));
    // An overlong sequence is no UTF-8: the line is read byte by byte.
    EXPECT_EQ(DecodeLine("/\xC0\xAF/"), QString::fromUtf8("/\u00c0\u00af/"));
}

TEST(KeyListFile, QuotedFieldMustEndAtItsCommaAndALineHasThreeFields) {
    const std::vector<Record> records = ReadRecords(
        "\"F1 key\"x,\"All\",\"/one/\"\n"              // 1: after the description
        "\"F1 key\",\"All\"\"x\",\"/one/\"\n"          // 2: after the scope
        "\"F1 key\",\"All\",\"/a\"b/\"\n"              // 3: inside the folder
        "\"F1 key\" \t, \"All\"\t ,\t\"/four/\" \t\n"  // 4: blanks and tabs are padding
        "\r\n"                                         // 5: blank
        "\"F1 key\",\"All\",\"/six/\r"                 // 6: the folder is never closed
        "\"F1 key,\"All\",/seven/\r\n"                 // 7: a quote closed in the wrong place
        "\"F1 key\",\"All\",\"/eight/\",\n"            // 8: a fourth field, if empty
        "F1 key,All,/data/a,b/");                      // 9: an unquoted folder with a comma
    ASSERT_EQ(records.size(), 8u);
    const std::pair<qsizetype, LineFault> expected[] = {
        {1, LineFault::TextAfterClosingQuote}, {2, LineFault::TextAfterClosingQuote},
        {3, LineFault::TextAfterClosingQuote}, {4, LineFault::None},
        {6, LineFault::NoClosingQuote},        {7, LineFault::TextAfterClosingQuote},
        {8, LineFault::MoreThanThreeFields},   {9, LineFault::MoreThanThreeFields}};
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].line, expected[i].first) << i;
        EXPECT_EQ(records[i].fault, expected[i].second) << i;
        // A faulty line binds nothing: none of its fields is passed on.
        if (records[i].fault != LineFault::None) {
            EXPECT_TRUE(records[i].directory.isEmpty()) << i;
        }
    }
    EXPECT_EQ(records[3].description, "F1 key");
    EXPECT_EQ(records[3].scope, "All");
    EXPECT_EQ(records[3].directory, "/four/");
    EXPECT_EQ(FaultMessage(records[6]),
              "Line 8 was not bound, because it has more than three fields:\n"
              "\"F1 key\",\"All\",\"/eight/\",");

    // A megabyte line is named by its beginning.
    const QByteArray huge = "\"F1 key\",\"All\",\"/" + QByteArray(1 << 20, 'x');
    const std::vector<Record> cut = ReadRecords(huge);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(FaultMessage(cut[0]),
              "Line 1 was not bound, because a field has no closing quote:\n" +
                  QString::fromLatin1(huge.left(256)) + "...");
}

TEST(KeyListFile, ExportedMapReadsBackInOrder) {
    ClassifierKeyMap map;
    map.Add(0x70, 0, true, "/f1/");
    map.Add(0x41, 2, false, "/a/");
    map.Add(0x39, 1, false, "/paren/");
    map.Add(0x6D, 0, true, "/minus/");
    ClassifierKeyMap reread;
    for (const Record& record : ReadRecords(Format(map))) {
        const KeyStroke stroke = mdlKeycodes::ParseKeyDescription(record.description);
        reread.Add(stroke.KeyCode, stroke.Shift, IsClassifyAll(record.scope), record.directory);
    }
    EXPECT_EQ(reread.Keys(), map.Keys());
    for (const QString& key : map.Keys()) {
        EXPECT_EQ(reread.Dir(key), map.Dir(key));
        EXPECT_EQ(reread.AllFlag(key), map.AllFlag(key));
    }
}

TEST(KeyListFile, LoneCarriageReturnEndsALineAndTabsBeforeFieldsAreSkipped) {
    const std::vector<Record> records = ReadRecords(
        "\"F1 key\",\"All\",\"/one/\"\r"
        "\t\"F2 key\",\t\"Selection\",\t\"/two/\"\r\r\n"
        "\tF3 key\t,\t ALL\t, /three/\t\r\n"
        "\"F4 key\",\"All\",\"/four/\"");
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].directory, "/one/");
    EXPECT_EQ(records[1].description, "F2 key");
    EXPECT_EQ(records[1].scope, "Selection");
    EXPECT_EQ(records[1].directory, "/two/");
    EXPECT_EQ(records[2].description, "F3 key");
    EXPECT_TRUE(IsClassifyAll(records[2].scope));
    EXPECT_EQ(records[2].directory, "/three/");
    EXPECT_EQ(records[3].description, "F4 key");
}

TEST(KeyListFile, FoldersTheFileCannotHoldAreLeftOutAndNamed) {
    ClassifierKeyMap map;
    map.Add(0x70, 0, true, "/say \"hi\"/");
    map.Add(0x41, 2, false, "/ok/");
    map.Add(0x42, 0, false, "/two\nlines/");
    QStringList leftOut;
    EXPECT_EQ(Format(map, &leftOut), QByteArray("\"CTRL+A key\",") + QByteArray(11, ' ') +
                                         "\"Selection\"," + QByteArray(3, ' ') + "\"/ok/\"\r\n");
    EXPECT_EQ(leftOut, QStringList({"F1 key: /say \"hi\"/", "B key: /two\nlines/"}));
    EXPECT_EQ(LeftOutMessage(leftOut),
              "These bindings were not exported, because a key list file cannot hold a double "
              "quote or a line break in a folder name:\nF1 key: /say \"hi\"/\nB key: /two\nlines/");
    EXPECT_EQ(LeftOutMessage({"F1 key: /a\"b/"}),
              "This binding was not exported, because a key list file cannot hold a double "
              "quote or a line break in a folder name:\nF1 key: /a\"b/");

    QStringList many;
    for (int i = 0; i < 1025; ++i) many.append(QString("F1 key: /%1\"/").arg(i));
    const QStringList lines = LeftOutMessage(many).split('\n');
    ASSERT_EQ(lines.size(), 22);
    EXPECT_EQ(lines[20], "F1 key: /19\"/");
    EXPECT_EQ(lines[21], "... and 1,005 more");
}
