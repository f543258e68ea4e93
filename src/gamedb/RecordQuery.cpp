#include "gamedb/RecordQuery.h"

#include "gamedb/CodeTables.h"
#include "gamedb/GameError.h"
#include "gamedb/GameText.h"
#include "gamedb/SortKey.h"
#include "gamedb/TextField.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

namespace gamedb {
namespace {

std::string quoted(const QString& s)
{
    return "'" + s.toStdString() + "'";
}

// The entry a code field shows, or nothing when the table knows none of its codes.
std::optional<std::string_view> entryOf(const std::uint8_t* record, const Field& f)
{
    const int i = matchCode(*f.codes, record, f);
    if (i < 0)
        return std::nullopt;
    return (*f.codes)[static_cast<std::size_t>(i)].text;
}

// The text a text-like column shows, as game bytes.
std::string_view shownBytes(const std::uint8_t* record, const Field& f)
{
    if (f.codes) {
        if (auto entry = entryOf(record, f))
            return *entry;
    }
    return readText(record, f);
}

long long numberOf(const RecordTable& table, int record, const Field* column)
{
    return column ? readNumber(table.record(record), *column) : record;
}

bool twoDigits(std::string_view s, std::size_t at, int& v)
{
    if (at + 2 > s.size() || s[at] < '0' || s[at] > '9' || s[at + 1] < '0' || s[at + 1] > '9')
        return false;
    v = (s[at] - '0') * 10 + (s[at + 1] - '0');
    return true;
}

std::optional<long long> integer(const QString& text)
{
    const std::string s = text.trimmed().toStdString();
    long long v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    return v;
}

const char* formText(DateForm form)
{
    return form == DateForm::DayMonthYear ? "dd.mm.yy" : "mm.yy";
}

template <class T> bool compare(const T& a, const T& b, bool less, bool orEqual)
{
    return orEqual && a == b ? true : less ? a < b : b < a;
}

} // namespace

ValueKind valueKind(const Field* column)
{
    if (!column)
        return ValueKind::Number;
    switch (column->encoding) {
    case Encoding::Text:
        return column->codes ? ValueKind::Code : column->date != DateForm::None ? ValueKind::Date : ValueKind::Text;
    case Encoding::Flag:
        return ValueKind::Flag;
    case Encoding::PositionFlag:
        return ValueKind::Position;
    default:
        return ValueKind::Number;
    }
}

QString shownValue(const RecordTable& table, int record, const Field* column)
{
    if (!column || column->encoding != Encoding::Text)
        return QString::number(numberOf(table, record, column));
    return fromGame(shownBytes(table.record(record), *column));
}

int checkState(const std::uint8_t* record, const Field& field)
{
    const long long v = readNumber(record, field);
    if (field.encoding == Encoding::Flag)
        return v == 1 ? 2 : 0;
    return static_cast<int>(v);
}

std::optional<int> dateValue(std::string_view text, DateForm form)
{
    int day = 0;
    int month = 0;
    int year = 0;
    std::size_t at = 0;
    if (form == DateForm::DayMonthYear) {
        if (!twoDigits(text, 0, day) || text.size() < 3 || text[2] != '.')
            return std::nullopt;
        at = 3;
    } else if (form != DateForm::MonthYear) {
        return std::nullopt;
    }
    if (!twoDigits(text, at, month) || text.size() != at + 5 || text[at + 2] != '.' || !twoDigits(text, at + 3, year))
        return std::nullopt;
    year += year < 50 ? 2000 : 1900;
    return (year * 100 + month) * 100 + day;
}

void sortRecords(const RecordTable& table, std::vector<int>& records, const Field* column, bool descending)
{
    // Values are read in record order, through the table's bytes front to back: a shown order
    // would jump about the table at every record.
    std::vector<char> shown(static_cast<std::size_t>(table.count()) + 1, 0);
    for (const int r : records)
        shown[static_cast<std::size_t>(r)] = 1;
    records.clear();
    for (int r = 1; r <= table.count(); ++r) {
        if (shown[static_cast<std::size_t>(r)])
            records.push_back(r);
    }
    const ValueKind kind = valueKind(column);
    if (kind != ValueKind::Text && kind != ValueKind::Code && kind != ValueKind::Date) {
        // Value and record number in one integer: every value of a field fits in 32 bits with
        // its sign, so one comparison of 64-bit numbers orders by value, then by record.
        std::vector<std::uint64_t> keys;
        keys.reserve(records.size());
        for (const int r : records) {
            auto v = static_cast<std::uint32_t>(numberOf(table, r, column) + 0x80000000LL);
            if (descending)
                v = ~v;
            keys.push_back(std::uint64_t(v) << 32 | static_cast<std::uint32_t>(r));
        }
        std::sort(keys.begin(), keys.end());
        for (std::size_t i = 0; i < keys.size(); ++i)
            records[i] = static_cast<int>(keys[i] & 0xFFFFFFFFu);
        return;
    }
    // A text's key: dates by their value, after every text that does not read as one. Rows are
    // sorted by the keys' first bytes, side by side; whole keys are made only for rows that begin
    // alike.
    auto keyOf = [&](int r) {
        const std::string_view text = shownBytes(table.record(r), *column);
        const auto date = kind == ValueKind::Date ? dateValue(text, column->date) : std::nullopt;
        if (date) {
            return std::string{'\x02', static_cast<char>(*date >> 24), static_cast<char>(*date >> 16),
                               static_cast<char>(*date >> 8), static_cast<char>(*date)};
        }
        std::string key = kind == ValueKind::Date ? "\x01" : "";
        appendSortKey(text, key);
        return key;
    };
    // Most keys fit in 32 bytes (a name of 15 letters and its accents); only longer ones that
    // begin alike need their whole keys.
    constexpr std::size_t kWords = 4;
    struct Row {
        std::array<std::uint64_t, kWords> start;
        bool whole; // start holds the whole key
        int record;
        std::uint32_t index;
    };
    std::vector<Row> rows;
    rows.reserve(records.size());
    for (const int r : records) {
        const std::string_view text = shownBytes(table.record(r), *column);
        std::uint8_t bytes[kWords * 8] = {};
        std::size_t n = 0;
        const auto date = kind == ValueKind::Date ? dateValue(text, column->date) : std::nullopt;
        if (date) {
            bytes[n++] = 2;
            for (int i = 0; i < 4; ++i)
                bytes[n++] = static_cast<std::uint8_t>(*date >> (24 - 8 * i));
        } else {
            if (kind == ValueKind::Date)
                bytes[n++] = 1;
            n += sortKeyStart(text, bytes + n, sizeof bytes - n);
        }
        Row row{{}, n < sizeof bytes, r, static_cast<std::uint32_t>(rows.size())};
        for (std::size_t w = 0; w < kWords; ++w) {
            for (std::size_t i = 0; i < 8; ++i)
                row.start[w] = row.start[w] << 8 | bytes[w * 8 + i];
        }
        rows.push_back(row);
    }
    std::vector<std::string> whole;
    auto wholeKey = [&](const Row& row) -> const std::string& {
        whole.resize(rows.size());
        std::string& k = whole[row.index];
        if (k.empty())
            k = keyOf(row.record);
        return k;
    };
    std::sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
        int c = a.start < b.start ? -1 : b.start < a.start ? 1 : 0;
        if (c == 0 && !(a.whole && b.whole))
            c = wholeKey(a).compare(wholeKey(b));
        if (c != 0)
            return descending ? c > 0 : c < 0;
        return a.record < b.record;
    });
    for (std::size_t i = 0; i < rows.size(); ++i)
        records[i] = rows[i].record;
}

// --- filters --------------------------------------------------------------------------------

CellFilter::CellFilter(const Field* column, const QString& expression) : column_(column), kind_(valueKind(column))
{
    if (expression.isEmpty())
        return;
    if (expression.size() >= 2 && expression.startsWith(QLatin1Char('/')) && expression.endsWith(QLatin1Char('/'))) {
        op_ = Op::Regex;
        regex_ =
            QRegularExpression(expression.mid(1, expression.size() - 2), QRegularExpression::CaseInsensitiveOption);
        if (!regex_.isValid())
            throw GameError(quoted(expression) +
                            " is not a valid regular expression: " + regex_.errorString().toStdString());
        return;
    }
    // Blanks around a number or a date mean nothing; in a text they may be what is looked for.
    const bool textual = kind_ == ValueKind::Text || kind_ == ValueKind::Code;
    const QString e = textual ? expression : expression.trimmed();
    const QString trimmed = expression.trimmed();
    if (trimmed == QLatin1String("=")) {
        op_ = Op::Empty;
        return;
    }
    if (trimmed == QLatin1String("<>")) {
        op_ = Op::NonEmpty;
        return;
    }
    // Longest operators first: "<>" and "<=" before "<".
    static const std::pair<const char*, Op> kOperators[] = {
        {"<>", Op::NotEqual}, {"<=", Op::LessEqual}, {">=", Op::GreaterEqual},
        {"<", Op::Less},      {">", Op::Greater},    {"=", Op::Equal},
    };
    QString operand = e;
    op_ = Op::Contains;
    for (const auto& [text, op] : kOperators) {
        if (e.startsWith(QLatin1String(text))) {
            op_ = op;
            operand = e.mid(static_cast<qsizetype>(std::strlen(text)));
            break;
        }
    }
    switch (kind_) {
    case ValueKind::Number:
    case ValueKind::Flag:
    case ValueKind::Position:
        readNumbers(operand);
        return;
    case ValueKind::Date:
        readDates(operand);
        return;
    case ValueKind::Text:
    case ValueKind::Code:
        readText(operand);
        return;
    }
}

void CellFilter::readNumbers(const QString& operand)
{
    if (op_ == Op::Contains) {
        const qsizetype tilde = operand.indexOf(QLatin1Char('~'));
        if (tilde >= 0) {
            const auto low = integer(operand.left(tilde));
            const auto high = integer(operand.mid(tilde + 1));
            if (!low || !high)
                throw GameError(quoted(operand) + " is not a range of whole numbers, such as 10~20");
            op_ = Op::Range;
            low_ = std::min(*low, *high);
            high_ = std::max(*low, *high);
            return;
        }
        op_ = Op::Equal;
    }
    const auto v = integer(operand);
    if (!v)
        throw GameError(quoted(operand) + " is not a whole number");
    low_ = *v;
}

void CellFilter::readDates(const QString& operand)
{
    const DateForm form = column_->date;
    auto date = [&](const QString& s) {
        const auto bytes = toGame(s.trimmed());
        const auto v = bytes ? dateValue(*bytes, form) : std::nullopt;
        if (!v)
            throw GameError(quoted(s.trimmed()) + " is not a date " + formText(form));
        return static_cast<long long>(*v);
    };
    const qsizetype tilde = operand.indexOf(QLatin1Char('~'));
    if (op_ == Op::Contains && tilde >= 0) {
        const long long a = date(operand.left(tilde));
        const long long b = date(operand.mid(tilde + 1));
        op_ = Op::Range;
        low_ = std::min(a, b);
        high_ = std::max(a, b);
        return;
    }
    if (op_ == Op::Contains || op_ == Op::Equal || op_ == Op::NotEqual) {
        readText(operand);
        return;
    }
    low_ = date(operand);
}

void CellFilter::readText(const QString& operand)
{
    auto bytes = toGame(operand);
    if (!bytes)
        throw GameError(quoted(operand) + " holds a character the game cannot store");
    text_ = std::move(*bytes);
    foldAscii(text_);
    key_ = sortKey(text_);
}

bool CellFilter::numberMatches(long long v) const
{
    switch (op_) {
    case Op::All:
    case Op::NonEmpty:
        return true;
    case Op::Empty:
        return false; // a number is never empty
    case Op::Equal:
        return v == low_;
    case Op::NotEqual:
        return v != low_;
    case Op::Less:
    case Op::LessEqual:
    case Op::Greater:
    case Op::GreaterEqual:
        return compare(v, low_, op_ == Op::Less || op_ == Op::LessEqual,
                       op_ == Op::LessEqual || op_ == Op::GreaterEqual);
    case Op::Range:
        return v >= low_ && v <= high_;
    case Op::Regex:
        return regex_.match(QString::number(v)).hasMatch();
    case Op::Contains:
        break;
    }
    return false;
}

// One text the cell shows or holds: stored as game bytes, folded as the filter's text is.
bool CellFilter::textMatches(Op op, std::string_view stored, std::string_view folded) const
{
    switch (op) {
    case Op::Contains:
        return folded.find(text_) != std::string_view::npos;
    case Op::Equal:
        return folded == text_;
    case Op::Regex:
        return regex_.match(fromGame(stored)).hasMatch();
    case Op::Less:
    case Op::LessEqual:
    case Op::Greater:
    case Op::GreaterEqual:
        if (kind_ == ValueKind::Date) {
            const auto v = dateValue(stored, column_->date);
            return v && compare(static_cast<long long>(*v), low_, op == Op::Less || op == Op::LessEqual,
                                op == Op::LessEqual || op == Op::GreaterEqual);
        }
        return compare(sortKey(stored), key_, op == Op::Less || op == Op::LessEqual,
                       op == Op::LessEqual || op == Op::GreaterEqual);
    case Op::Range: {
        const auto v = dateValue(stored, column_->date);
        return v && *v >= low_ && *v <= high_;
    }
    default:
        return false;
    }
}

bool CellFilter::matches(const RecordTable& table, int record) const
{
    if (op_ == Op::All)
        return true;
    if (kind_ == ValueKind::Number || kind_ == ValueKind::Flag || kind_ == ValueKind::Position)
        return numberMatches(numberOf(table, record, column_));

    const std::uint8_t* bytes = table.record(record);
    const std::string_view stored = gamedb::readText(bytes, *column_);
    if (op_ == Op::Empty || op_ == Op::NonEmpty)
        return stored.empty() == (op_ == Op::Empty);
    if (op_ == Op::NotEqual)
        return !cellMatches(Op::Equal, bytes, stored);
    return cellMatches(op_, bytes, stored);
}

// A code matches by its entry or by the code itself.
bool CellFilter::cellMatches(Op op, const std::uint8_t* bytes, std::string_view stored) const
{
    thread_local std::string folded;
    if (kind_ == ValueKind::Code) {
        if (const auto entry = entryOf(bytes, *column_)) {
            folded.assign(*entry);
            foldAscii(folded);
            if (textMatches(op, *entry, folded))
                return true;
        }
    }
    folded.assign(stored);
    foldAscii(folded);
    return textMatches(op, stored, folded);
}

std::vector<int> matchingRecords(const RecordTable& table, const std::vector<CellFilter>& filters)
{
    std::vector<int> out;
    out.reserve(static_cast<std::size_t>(table.count()));
    for (int r = 1; r <= table.count(); ++r) {
        if (std::all_of(filters.begin(), filters.end(), [&](const CellFilter& f) { return f.matches(table, r); }))
            out.push_back(r);
    }
    return out;
}

} // namespace gamedb
