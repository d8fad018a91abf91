#include "keys/mdlKeycodes.h"

#include "core/CorvaneError.h"
#include "keys/KeyVocabulary.h"
#include "keys/MessageText.h"

namespace mdlKeycodes {
namespace {

struct KeyTables {
    bool Built = false;
    QHash<QString, QString> Descriptions;
    KeyNameTable CodesByName;
    KeyNameTable ShiftedNames;
};

KeyTables& Tables() {
    static KeyTables tables;
    return tables;
}

// Every reader builds the tables on first use, so a name is never given in the
// "0x" form, nor a description refused, merely because start-up has not yet run.
KeyTables& BuiltTables() {
    if (!Tables().Built) BuildKeyTables();
    return Tables();
}

struct ModifierWord {
    QLatin1String Word;
    std::int16_t Bit;
};

// Checked in this order; the first match wins.
const ModifierWord kModifierWords[] = {
    {QLatin1String("shift"), ShiftBit::Shift},
    {QLatin1String("ctrl"), ShiftBit::Ctrl},
    {QLatin1String("control"), ShiftBit::Ctrl},
    {QLatin1String("alt"), ShiftBit::Alt},
};

constexpr QChar kBlank = u' ';
constexpr QChar kTab = u'\t';

// Removes leading and trailing U+0020 only (a tab at either end stays, and
// becomes a blank of the name), turns tabs into blanks and folds every run of
// blanks into one. One pass over the text.
QString TrimmedAndFolded(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == kBlank) ++first;
    while (last > first && text[last - 1] == kBlank) --last;
    QString folded;
    folded.reserve(last - first);
    for (qsizetype i = first; i < last; ++i) {
        const QChar c = text[i] == kTab ? kBlank : text[i];
        if (c == kBlank && !folded.isEmpty() && folded.back() == kBlank) continue;
        folded.append(c);
    }
    return folded;
}

qsizetype SkipBlanks(const QString& text, qsizetype pos) {
    while (pos < text.size() && text[pos] == kBlank) ++pos;
    return pos;
}

// Whether `word` (lower-case ASCII) stands at `pos`, ASCII letters compared
// without regard to case, as the name tables compare them.
bool WordAt(const QString& text, qsizetype pos, QLatin1String word) {
    if (text.size() - pos < word.size()) return false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        char16_t u = text[pos + i].unicode();
        if (u >= u'A' && u <= u'Z') u += u'a' - u'A';
        if (u != word[i].unicode()) return false;
    }
    return true;
}

const ModifierWord* ModifierWordAt(const QString& text, qsizetype pos) {
    for (const ModifierWord& modifier : kModifierWords) {
        if (WordAt(text, pos, modifier.Word)) return &modifier;
    }
    return nullptr;
}

// The position of the key name behind the modifier words at the front of
// `text`; their bits go into `shift`. A word counts only when a "+" follows
// it, so "Shift", "CTRL key" and "shiftA" keep their word. The scan only moves
// forward, so a long run of modifiers costs its length, not its square.
qsizetype SkipModifiers(const QString& text, std::int16_t& shift) {
    qsizetype pos = 0;
    while (const ModifierWord* modifier = ModifierWordAt(text, pos)) {
        const qsizetype plus = SkipBlanks(text, pos + modifier->Word.size());
        if (plus == text.size() || text[plus] != u'+') break;
        pos = SkipBlanks(text, plus + 1);
        shift |= modifier->Bit;
    }
    return pos;
}

CorvaneError InvalidKeyDescription(const QString& shownText) {
    return CorvaneError(CorvaneErrorNumber::InvalidKeyDescription,
                        QStringLiteral("Invalid key description: \"%1\"").arg(shownText));
}

CorvaneError DuplicateKeyCode(std::int16_t keyCode) {
    return CorvaneError(CorvaneErrorNumber::DuplicateKey,
                        QStringLiteral("Duplicate key code: %1").arg(HexKeyForm(keyCode)));
}

}  // namespace

void BuildKeyTables() {
    KeyTables& tables = Tables();
    tables.Descriptions.clear();
    tables.CodesByName.Clear();
    tables.ShiftedNames.Clear();
    tables.Built = true;
    KeyVocabulary::AddFixedKeyDescriptions(AddKeyDescription);
    KeyVocabulary::AddFixedKeyNames(AddKeyName);
}

void AddKeyDescription(const QString& description, std::int16_t keyCode) {
    KeyTables& tables = BuiltTables();
    const QString hex = HexKeyForm(keyCode);
    if (tables.Descriptions.contains(hex)) throw DuplicateKeyCode(keyCode);
    tables.CodesByName.Add(description, hex);  // throws before anything changed
    tables.Descriptions.insert(hex, description);
}

void AddKeyName(const QString& name, std::int16_t keyCode, bool shifted) {
    KeyTables& tables = BuiltTables();
    const QString hex = HexKeyForm(keyCode);
    tables.CodesByName.Add(name, hex);
    // A name unique in CodesByName is unique among the shifted names too.
    if (shifted) tables.ShiftedNames.Add(name, hex);
}

QString KeyName(std::int16_t keyCode) {
    const QString hex = HexKeyForm(keyCode);
    const auto& descriptions = BuiltTables().Descriptions;
    const auto found = descriptions.constFind(hex);
    return found == descriptions.constEnd() ? QStringLiteral("0x") + hex : *found;
}

QString KeyText(std::int16_t keyCode, std::int16_t shift) {
    QString prefix;
    if (shift & ShiftBit::Ctrl) prefix += QLatin1String("CTRL+");
    if (shift & ShiftBit::Alt) prefix += QLatin1String("ALT+");
    if (shift & ShiftBit::Shift) prefix += QLatin1String("SHIFT+");
    return prefix + KeyName(keyCode);
}

KeyStroke ParseKeyDescription(const QString& description) {
    if (description.size() > MaxDescriptionLength) {
        throw InvalidKeyDescription(MessageText::Abbreviated(description, MaxDescriptionLength));
    }
    const KeyTables& tables = BuiltTables();
    std::int16_t shift = 0;
    const QString folded = TrimmedAndFolded(description);
    const QString rest = folded.mid(SkipModifiers(folded, shift));
    const std::optional<std::int16_t> keyCode = ParseHexKeyForm(tables.CodesByName.Find(rest));
    if (!keyCode) throw InvalidKeyDescription(rest);
    if (tables.ShiftedNames.Contains(rest)) shift |= ShiftBit::Shift;
    return {*keyCode, shift};
}

QString HexKeyForm(std::int16_t value) {
    return QString::number(static_cast<std::uint16_t>(value), 16).toUpper();
}

std::optional<std::int16_t> ParseHexKeyForm(const QString& text) {
    if (text.isEmpty() || text.size() > 4) return std::nullopt;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const bool hexDigit =
            (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
        if (!hexDigit) return std::nullopt;
    }
    return static_cast<std::int16_t>(text.toUShort(nullptr, 16));
}

QString BindingKey(std::int16_t keyCode, std::int16_t shift) {
    return HexKeyForm(keyCode) + u',' + HexKeyForm(shift);
}

QString BindingKey(const KeyStroke& keyStroke) {
    return BindingKey(keyStroke.KeyCode, keyStroke.Shift);
}

std::optional<KeyStroke> ParseBindingKey(const QString& bindingKey) {
    const qsizetype comma = bindingKey.indexOf(u',');
    if (comma < 0) return std::nullopt;
    const auto keyCode = ParseHexKeyForm(bindingKey.left(comma));
    const auto shift = ParseHexKeyForm(bindingKey.mid(comma + 1));
    if (!keyCode || !shift) return std::nullopt;
    return KeyStroke{*keyCode, *shift};
}

const QHash<QString, QString>& KeyDescriptions() {
    return BuiltTables().Descriptions;
}

const KeyNameTable& KeyCodesByName() {
    return BuiltTables().CodesByName;
}

const KeyNameTable& ShiftedKeyNames() {
    return BuiltTables().ShiftedNames;
}

}  // namespace mdlKeycodes
