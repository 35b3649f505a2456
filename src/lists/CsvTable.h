// Comma-separated text as spreadsheet programs write it: quoted fields with
// doubled quotes (line ends allowed inside), CRLF, LF or CR line ends, blank
// lines, and a comma, semicolon or tab separator. The separator is the first
// of the three that the first line holds outside quotes.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

#include <vector>

namespace tavin::lists {

struct CsvRecord {
    int line = 0;        // 1-based line of the input where the record starts
    QStringList fields;  // unquoted; unquoted fields trimmed of blanks
    bool blank() const;  // every field empty
};

struct CsvTable {
    QChar separator = u',';
    std::vector<CsvRecord> records;  // blank records included, in input order
    int unterminatedQuoteLine = 0;   // line of a quote that never closes, else 0
    // Spreadsheets that separate cells with a semicolon or a tab write
    // numbers with a decimal comma where their locale does.
    bool decimalComma() const { return separator != u','; }
};

CsvTable parseCsv(const QString &text);

// One record with its fields quoted where needed, and the line end.
QString csvLine(const QStringList &fields, QChar separator = u',', const QString &lineEnd = QStringLiteral("\r\n"));

}  // namespace tavin::lists
