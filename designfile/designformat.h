#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// The design file as text: which keys it holds and in what order, how each kind of value is
// written, and how a file is cut back into keys and values. No widgets: the window collects and
// applies the values (designfile/mainwindow_designfile*.cpp).
namespace designfile {

// First line of every design file; the reader accepts nothing else there.
inline const QString kHeader = QStringLiteral("KEST AMPWRIGHT SAVED PREFERENCES");
// Largest file the reader takes in. A design of this release is a few kilobytes; anything of
// this size is some other file picked by mistake.
constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

// How a value is written. Integer and flag values are read back with integerOf and flagOf.
enum class Form {
    Text,      // the text exactly as held, blanks included
    Integer,   // decimal, "-" when negative
    Flag,      // "1" or "0"
    Triple,    // three texts with one blank between them
    Quadruple, // four texts with one blank between them
    List,      // every element followed by one blank
};

// Where the window finds a key's value.
enum class Source {
    Widget, // the form's widget whose object name is the key
    Member, // the MainWindow member of the same name
    Fields, // several line edits, for the quadruples
};

struct KeyRule
{
    QString key;
    Form form;
    Source source;
};

// The keys of this release in file order (lines 3 onwards).
const QVector<KeyRule> &currentKeys();
// Position of key in currentKeys(), -1 when it is none of them (case-sensitive).
int currentKeyIndex(const QString &key);
// The four line edits whose texts make up a quadruple key, in their order in the file.
QStringList quadrupleFields(const QString &key);

struct Entry
{
    QString key;
    QString value;
};

// Value texts as the file holds them.
QString flagValue(bool on);
QString integerValue(int number);
// A triple or quadruple: parts joined by single blanks.
QString partsValue(const QStringList &parts);
// A list: every element followed by one blank, so an empty list is an empty value.
QString listValue(const QStringList &items);
// The text without any blank (U+0020); tabs and other white space stay.
QString removeBlanks(QString text);

// The whole file: header, "Version: " + release, then one "key: value" line per entry, each
// ended by a single line feed. Encoded in the system locale's encoding, without a byte-order
// mark.
QByteArray writeDesign(const QVector<Entry> &entries, const QString &release);

// A value read as a decimal integer; 0 (and ok false) when it is none.
int integerOf(const QString &value, bool *ok = nullptr);
// A flag is any integer but 0; text that is no integer reads false (ok false).
bool flagOf(const QString &value, bool *ok = nullptr);
// The parts of a list value: split at blanks, empty parts dropped.
QStringList partsOf(const QString &value);
// The parts of a triple or quadruple. A value the writer produced from count parts splits back
// into exactly count parts even when one of them is empty (two blanks in a row); any other
// value is split like a list.
QStringList fixedPartsOf(const QString &value, int count);

struct FileLine
{
    int number = 0; // line number in the file, counting from 1, blank lines included
    QString key;
    QString value;
};

struct ParsedDesign
{
    bool isDesign = false;   // the first non-blank line is the header
    QVector<FileLine> lines; // every non-blank line after the header, in order
    // The header line ends in a carriage return: the file was given CR LF line ends on its way
    // (an editor or a transfer in text mode). It is no design file as it stands.
    bool crLineEnds = false;
    int lastLineNumber = 0; // number of the last non-blank line
};

// Cuts a file into keys and values. The key is the text before the first colon (the whole
// line when there is none); the value is the text after the first blank of the line (the
// whole line when there is none). Blank lines vanish wherever they stand; a last line without
// its line feed is a line like the others. A carriage return stays part of its line, so a file
// with CR LF line ends fails the header check (and says so in crLineEnds).
ParsedDesign parseDesign(const QString &text);
// The same on the bytes of a file, decoded with the system locale's encoding.
ParsedDesign parseDesign(const QByteArray &bytes);

// The value of the last Version line, or an empty text when there is none.
QString versionOf(const ParsedDesign &design);
// Keys of this release that no line of the file names, in file order.
QStringList missingKeys(const ParsedDesign &design);

} // namespace designfile
