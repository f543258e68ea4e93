// The spreadsheet guard against LibreOffice itself: a sheet of texts a spreadsheet would change
// goes through LibreOffice headless, as CSV with its default options and with explicit options in
// many languages, and through its own formats, and imports back to the same bytes. Skips when
// LibreOffice is missing.
#include "gamedb/Csv.h"
#include "gamedb/CsvText.h"
#include "gamedb/GameError.h"
#include "gamedb/ManagerDb.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <QtTest>
#include <cstring>

using namespace gamedb;

namespace {

// Game bytes (the game's code page). Each reads, to some spreadsheet in some language, as
// something else, but for the plain names at the top.
const char* const kTexts[] = {
    "Smith", "Braadford Town", "O'Neil", "Jean-Paul", "Zo\xEB M\xFCller", "Hannover 96", "Marseille 5", "True Blues",
    "May", "Jan-Feb",
    // numbers, blanks, currencies, percentages
    "05.97", " 05.97", " 12", "12 ", "Smith ", " Smith", "\tSmith", "Smith\t", "\xA0Smith", "(12)", "1e5", "1E5", "1,5",
    ",5", "1.000", "1 000", ".5", "- 5", "12%", "$5", "\2005", "5 \x80", "\2435", "kr 5", "EUR 5", "x\xB2", "\xBD",
    "0x1F",
    // dates and times
    "1/2", "1 1/2", "12/5", "2024-01-01", "1.5.97", "May 98", "Dec-99", "Dec 99", "Mar 5", "Sept. 5", "Mai 98",
    "mars 5", "5 mars", "janv. 98", "juin 98", "maj 98", "okt 99", "Dez 99", "M\xE4rz 5", "gen 99", "ene 99", "mayo 5",
    "maio 99", "out 99", "mei 99", "tammi 99", "Juni 5", "5. Mai", "12:30", "12:30:45", "2:30 PM", "3pm", "5 AM", "10:",
    // truth values
    "true", "FALSE", "True", "WAHR", "falsch", "VRAI", "faux", "vero", "falso", "verdadero", "waar", "onwaar", "Sand",
    "falsk", "SANN", "sant", "tosi", "ep\xE4tosi",
    // formulas and what CSV itself quotes
    "=1+1", "=x", "@x", "+x", "-x", "'x", "#N/A", "Two\nLines", "a,b", "say \"hi\"", "\"quoted\""};

// One manager per text, the text in every text field it fits; codes and numbers of every kind.
RecordTable hostileManagers()
{
    RecordTable t(kManagerFormat);
    int n = 0;
    for (const char* text : kTexts) {
        std::uint8_t* r = t.record(t.append());
        ++n;
        for (const Field& f : kManagerFormat.schema) {
            if (f.codes) {
                const CodeTable& codes = *f.codes;
                writeText(r, f, codes[static_cast<std::size_t>(n) % codes.size()].code);
            } else if (f.encoding == Encoding::Text) {
                const std::string_view s(text);
                writeText(r, f, s.size() <= f.width ? s : std::string_view("Plain"));
            } else if (f.column == kIdColumn) {
                writeNumber(r, f, n);
            } else {
                const Range range = rangeOf(f);
                writeNumber(r, f, range.min + (n * 7919LL) % (range.max - range.min + 1));
            }
        }
    }
    return t;
}

// The same table as CSV without any guard: what a spreadsheet changes, to show that it does.
std::string unguardedCsv(const RecordTable& t)
{
    std::string out = std::string(kRecordColumn);
    for (const Field& f : t.format().schema)
        out += "," + std::string(f.column);
    out += "\r\n";
    for (int i = 1; i <= t.count(); ++i) {
        out += std::to_string(i);
        for (const Field& f : t.format().schema) {
            out += ',';
            if (!isNumeric(f.encoding)) {
                std::string text;
                appendUtf8(text, readText(t.record(i), f));
                out += '"';
                for (const char c : text)
                    out += c == '"' ? std::string("\"\"") : std::string(1, c);
                out += '"';
            } else {
                out += std::to_string(readNumber(t.record(i), f));
            }
        }
        out += "\r\n";
    }
    return out;
}

// The CSV filter's options: comma, double quote, UTF-8, from line 1, no column formats, the
// language; for import also: quoted cells not forced to text, special numbers (dates, times,
// scientific notation) detected, then any further options.
QString importOptions(int language, const QString& more)
{
    return QString("CSV:44,34,76,1,,%1,false,true").arg(language) + more;
}
const QString kCsvExport = "csv:Text - txt - csv (StarCalc):44,34,76,1";

void writeFile(const QString& path, const std::string& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes.data(), static_cast<qint64>(bytes.size())), static_cast<qint64>(bytes.size()));
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QString importError(RecordTable& t, const QByteArray& csv)
{
    try {
        importCsv(t, std::string_view(csv.constData(), static_cast<std::size_t>(csv.size())));
    } catch (const GameError& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

} // namespace

class TestCsvSheet : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void spreadsheetKeepsEveryText_data();
    void spreadsheetKeepsEveryText();
    void cleanupTestCase();

private:
    // Converts every file in files to format in the folder out; options as soffice takes them.
    void convert(const QStringList& files, const QString& inFilter, const QString& format, const QString& out,
                 const QString& language);

    QString soffice_;
    QTemporaryDir dir_;
    QElapsedTimer clock_;
    int conversions_ = 0;
};

void TestCsvSheet::initTestCase()
{
    soffice_ = QStandardPaths::findExecutable("soffice");
    if (soffice_.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed");
    QVERIFY(dir_.isValid());
    // LibreOffice reads an .xlsx formula's saved result with its blanks trimmed unless it
    // calculates the formula again on load; the profile asks it to, as a user can.
    QVERIFY(QDir().mkpath(dir_.filePath("profile/user")));
    writeFile(dir_.filePath("profile/user/registrymodifications.xcu"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\">\n"
              "<item oor:path=\"/org.openoffice.Office.Calc/Formula/Load\"><prop oor:name=\"OOXMLRecalcMode\" "
              "oor:op=\"fuse\"><value>0</value></prop></item>\n"
              "</oor:items>\n");
    clock_.start();
}

void TestCsvSheet::convert(const QStringList& files, const QString& inFilter, const QString& format, const QString& out,
                           const QString& language)
{
    QStringList args = {"-env:UserInstallation=" + QUrl::fromLocalFile(dir_.filePath("profile")).toString(),
                        "--headless", "--norestore"};
    if (!inFilter.isEmpty())
        args << "--infilter=" + inFilter;
    args << "--convert-to" << format << "--outdir" << out << files;
    QProcess p;
    if (!language.isEmpty()) {
        // The language LibreOffice takes its defaults from.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LC_ALL", language);
        env.insert("LANG", language);
        p.setProcessEnvironment(env);
    }
    p.start(soffice_, args);
    QVERIFY2(p.waitForFinished(120000), qPrintable(p.errorString()));
    ++conversions_;
    QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0,
             qPrintable(p.readAllStandardError() + p.readAllStandardOutput()));
}

void TestCsvSheet::spreadsheetKeepsEveryText_data()
{
    QTest::addColumn<QString>("via");    // the file format between: csv, ods or xlsx
    QTest::addColumn<int>("language");   // the CSV filter's language; 0 for no options at all
    QTest::addColumn<QString>("locale"); // the environment's, for the defaults
    QTest::addColumn<QString>("more");   // further import options
    QTest::newRow("CSV, no options") << "csv" << 0 << "en_US.UTF-8"
                                     << "";
    QTest::newRow("CSV, no options, German") << "csv" << 0 << "de_DE.UTF-8"
                                             << "";
    const std::pair<const char*, int> languages[] = {
        {"English (USA)", 1033}, {"English (UK)", 2057}, {"German", 1031},     {"French", 1036},
        {"Danish", 1030},        {"Swedish", 1053},      {"Norwegian", 1044},  {"Finnish", 1035},
        {"Italian", 1040},       {"Spanish", 1034},      {"Portuguese", 2070}, {"Dutch", 1043},
    };
    for (const auto& [name, id] : languages)
        QTest::newRow(qPrintable(QString("CSV, options, ") + name)) << "csv" << id << ""
                                                                    << "";
    QTest::newRow("CSV, options, spaces trimmed") << "csv" << 1033 << ""
                                                  << ",,,true";
    QTest::newRow("CSV, options, formulas not evaluated") << "csv" << 1033 << ""
                                                          << ",,,,,false";
    QTest::newRow("ODS, options, German") << "ods" << 1031 << ""
                                          << "";
    QTest::newRow("XLSX, options, English (USA)") << "xlsx" << 1033 << ""
                                                  << "";
}

// Imported onto blank records, so that every byte comes from the cells LibreOffice wrote.
void TestCsvSheet::spreadsheetKeepsEveryText()
{
    QFETCH(QString, via);
    QFETCH(int, language);
    QFETCH(QString, locale);
    QFETCH(QString, more);
    const RecordTable original = hostileManagers();
    const QString tag = QString::number(conversions_);
    const QString in = dir_.filePath("in" + tag);
    const QString between = dir_.filePath("between" + tag);
    const QString out = dir_.filePath("out" + tag);
    QVERIFY(QDir().mkpath(in));
    writeFile(in + "/guarded.csv", exportCsv(original));
    writeFile(in + "/unguarded.csv", unguardedCsv(original));
    const QStringList files = {in + "/guarded.csv", in + "/unguarded.csv"};

    const QString inFilter = language ? importOptions(language, more) : QString();
    if (via == "csv") {
        convert(files, inFilter, language ? kCsvExport : "csv", out, locale);
    } else {
        convert(files, inFilter, via, between, locale);
        if (QTest::currentTestFailed())
            return;
        convert({between + "/guarded." + via, between + "/unguarded." + via}, {}, kCsvExport, out, locale);
    }
    if (QTest::currentTestFailed())
        return;

    RecordTable back(kManagerFormat);
    for (int i = 0; i < original.count(); ++i)
        back.append();
    const QByteArray saved = readFile(out + "/guarded.csv");
    QVERIFY(!saved.isEmpty());
    QCOMPARE(importError(back, saved), QString());
    QStringList changed; // the texts of the records that came back changed
    for (int i = 1; i <= original.count(); ++i) {
        if (std::memcmp(back.record(i), original.record(i), kManagerFormat.recordSize) != 0)
            changed << "'" + QString::fromLatin1(kTexts[i - 1]) + "'";
    }
    QVERIFY2(changed.isEmpty(), qPrintable(changed.join(", ")));
    QVERIFY(back.bytes() == original.bytes());

    // Without the guard the same sheet comes back changed: the route is hostile.
    RecordTable control(kManagerFormat);
    for (int i = 0; i < original.count(); ++i)
        control.append();
    const QString error = importError(control, readFile(out + "/unguarded.csv"));
    QVERIFY2(!error.isEmpty() || control.bytes() != original.bytes(), "the unguarded sheet came back unchanged");
}

void TestCsvSheet::cleanupTestCase()
{
    if (!soffice_.isEmpty())
        qInfo("%d LibreOffice conversions in %lld ms", conversions_, static_cast<long long>(clock_.elapsed()));
}

QTEST_GUILESS_MAIN(TestCsvSheet)
#include "tst_csvsheet.moc"
