#include "gtest_qstring.h"
#include "results_fixture.h"

#include "results/table_text.h"

#include <gtest/gtest.h>

using namespace wf;
using namespace wf::test;

namespace {

// A reader written from the CSV rules alone, not from the writer: quoted fields may hold
// separators, line breaks and doubled quotes; every record ends with a line feed.
TextRows readDelimited(const QString& text, QChar sep) {
    TextRows rows;
    std::vector<QString> row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (quoted) {
            if (ch != QLatin1Char('"'))
                field += ch;
            else if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"'))
                field += text[++i];
            else
                quoted = false;
        } else if (ch == QLatin1Char('"')) {
            quoted = true;
        } else if (ch == sep) {
            row.push_back(std::exchange(field, QString()));
        } else if (ch == QLatin1Char('\n')) {
            row.push_back(std::exchange(field, QString()));
            rows.push_back(std::exchange(row, {}));
        } else {
            field += ch;
        }
    }
    EXPECT_TRUE(field.isEmpty() && row.empty()) << "the last record has no line feed";
    return rows;
}

TextRows unpaddedRows(TextRows rows) {
    for (auto& row : rows)
        for (QString& c : row) c = c.trimmed();
    return rows;
}

} // namespace

TEST(TableText, QuotesOnlyWhatNeedsItAndDropsThePadding) {
    const TextRows rows{
        {QStringLiteral("  1,5 ч  "), QStringLiteral("a;b"), QStringLiteral("tab\tin")},
        {QStringLiteral("say \"hi\""), QStringLiteral(" 2.0\n[1 … 3] "), QStringLiteral("cr\r")}};
    EXPECT_EQ(delimitedText(rows, kCsvSeparator),
              QStringLiteral("1,5 ч;\"a;b\";tab\tin\n"
                             "\"say \"\"hi\"\"\";\"2.0\n[1 … 3]\";\"cr\r\"\n"));
    // On the clipboard the tab separates; a ';' is then plain text and a tab is quoted.
    EXPECT_EQ(delimitedText(rows, kClipboardSeparator),
              QStringLiteral("1,5 ч\ta;b\t\"tab\tin\"\n"
                             "\"say \"\"hi\"\"\"\t\"2.0\n[1 … 3]\"\t\"cr\r\"\n"));
    EXPECT_EQ(delimitedText({}, kCsvSeparator), QString());
}

TEST(TableText, ResultsTableIsTheShownColumnsInTheLocalesNumbers) {
    LocaleScope comma(commaLocale());
    AnalysisState s = smallFleet();
    s.ModSpir = executedModel(1.5, 1000, 1.2);
    s.ModMLE = executedModel(2, 900, 1.1); // its bounds go on a second line in each cell
    const ResultsData r = showAndStore(s, 300, [](const QString& t) { return 8 * int(t.size()); });
    const TextRows cells = resultsTableCells(r);
    ASSERT_EQ(cells.size(), std::size_t(kResultRows));
    for (const auto& row : cells) ASSERT_EQ(row.size(), std::size_t(r.dataColumn + 1));
    EXPECT_EQ(cells[0][r.dataColumn], QStringLiteral("Данные эксплуатации"));
    EXPECT_EQ(cells[1][1], QStringLiteral("1,500 / 1000,00"));
    EXPECT_TRUE(cells[1][2].startsWith(QStringLiteral("2,000 /  900,00\n")))
        << cells[1][2].toStdString();

    const QString csv = delimitedText(cells, kCsvSeparator);
    EXPECT_EQ(readDelimited(csv, kCsvSeparator), unpaddedRows(cells));
}

TEST(TableText, FailureTableReadsBackWithTheHeaderFirst) {
    LocaleScope comma(commaLocale());
    AnalysisState s = smallFleet();
    s.Otkazy[0].time = 50.5;
    s.Otkazy[1].komment = QStringLiteral("течь; «сильная», \"срочно\"");
    const TextRows cells = failureTableCells(s, LoadSummary{});
    ASSERT_EQ(cells.size(), s.Otkazy.size() + 1);
    EXPECT_EQ(cells[0][1], QStringLiteral("Наработка, ч"));
    EXPECT_EQ(cells[1], (std::vector<QString>{QStringLiteral("1"), QStringLiteral("50,5"),
                                              QStringLiteral("Насос"), QString()}));
    EXPECT_EQ(readDelimited(delimitedText(cells, kCsvSeparator), kCsvSeparator),
              unpaddedRows(cells));
}
