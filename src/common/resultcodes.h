#pragma once
// Result codes of a run and the run-history strings of the paper.
//
// A result code is a place 1..6 or an accident, penalty or absence: 7..17
// (suffix 外), 57..67 (the same events, suffix 責). Run-history strings hold
// the codes as two characters ("01".."06", "07".."17", "57".."67") beside the
// letter codes "F", "L0", "L1", "K0", "K1", "S0", "S1", "S2". Each code has
// a words form, a three-character cell form, a letter and a short letter.

#include <QList>
#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <optional>
#include <utility>

namespace modkelmon {

// Words form: "１着", "転覆 外", "Ｆ", "反則", ...; empty text for a code
// outside the table (the caller then leaves its cell or label as it was).
QString result_code(int code);
// The same for the two characters of a run-history unit, trimmed of blanks
// and compared exactly ("1" is no place, "01" is).
QString result_code(QStringView code);

// Cell form: always three characters, "①　　", "転　外", "Ｆ　　"; three
// ideographic blanks for a code outside the table.
QString result_cell(int code);

// One letter of a two-character code: the letter form ("1".."6", "S", "F",
// "L", "K") and the short letter form (places and the letter codes only);
// empty text for a code the form does not know.
QString result_letter(QStringView code);
QString result_short_letter(QStringView code);

// One three-character unit of a run-history string.
struct seiseki_unit {
    QString classDigit;   // first character: the kind of race, a run when above 0
    QString code;         // characters 2-3, trimmed: the result code in text form
};

// The runs of a run-history string in order: the text is trimmed, cut into
// three-character units (a trailing fragment of two characters is a unit
// with a one-character code, of one character is ignored), and units whose
// first character is not a number above 0 are skipped.
QList<seiseki_unit> seiseki_units(QStringView history);

enum class LetterForm { Letter, ShortLetter };

// The letter history of a run-history string: the letters of its runs
// concatenated; codes the form does not know append nothing.
QString seiseki_letters(QStringView history, LetterForm form);

// A letter history laid out in the two grid rows of a card cell: when it has
// more than oneRowMax letters the first eight stand in the first row and the
// rest in the second; otherwise all in the first and the second is empty.
std::pair<QString, QString> history_rows(const QString &letters, int oneRowMax);

// Colour (0xRRGGBB) of a run's label by its class digit 1..5; none for others.
std::optional<quint32> seiseki_class_color(int classDigit);

} // namespace modkelmon
