// Any bytes as KRVX.ini, and a folder to store in it. The input is the folder's UTF-8, a zero
// byte, then the file; without a zero byte it is all file and the folder is a fixed one.
// Writing GXPath changes that value's line alone (or adds lines, and removes nothing), reads back
// as the folder written, and writing it again changes nothing. A value that cannot stand on one
// line is refused and the file is left as it was.
#include "fuzz/FuzzSupport.h"

#include "widgets/IniFile.h"

#include <algorithm>

namespace {

const QString kSection = QStringLiteral("Path");
const QString kKey = QStringLiteral("GXPath");
constexpr std::size_t kMaxValueBytes = 2047; // a read returns at most that many characters

bool holdsLineEnd(gamedb::Bytes::const_iterator from, gamedb::Bytes::const_iterator to)
{
    return std::any_of(from, to, [](std::uint8_t c) { return c == '\r' || c == '\n'; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::uint8_t* end = data + size;
    const std::uint8_t* zero = std::find(data, end, 0);
    QString value = QStringLiteral("C:\\Games\\KRVX");
    const std::uint8_t* fileStart = data;
    if (zero != end) {
        if (zero - data > static_cast<std::ptrdiff_t>(kMaxValueBytes))
            return 0;
        value = QString::fromUtf8(reinterpret_cast<const char*>(data), zero - data);
        fileStart = zero + 1;
    }
    const gamedb::Bytes before(fileStart, end);
    const QString path = fuzz::scratchFolder() + QStringLiteral("/KRVX.ini");
    fuzz::writeFile(path, before);
    const IniFile ini(path);

    // A key that is there reads the same whatever the fallback.
    const bool present = ini.read(kSection, kKey, QStringLiteral("\x01")) == ini.read(kSection, kKey, QString());

    if (!IniFile::holdsOnOneLine(value)) {
        fuzz::require(!ini.write(kSection, kKey, value), "a value with a line break is refused");
        fuzz::require(fuzz::readFile(path) == before, "a refused write leaves the file as it was");
        return 0;
    }
    fuzz::require(ini.write(kSection, kKey, value), "a writable file takes the value");
    const gamedb::Bytes after = fuzz::readFile(path);
    fuzz::require(ini.read(kSection, kKey, QStringLiteral("\x01")) == value, "the value reads back as written");

    // The bytes that differ: [prefix, end - suffix) in each file.
    const auto prefix = static_cast<std::size_t>(
        std::mismatch(before.begin(), before.end(), after.begin(), after.end()).first - before.begin());
    const std::size_t room = std::min(before.size(), after.size()) - prefix;
    const auto suffix = static_cast<std::size_t>(std::min<std::ptrdiff_t>(
        std::mismatch(before.rbegin(), before.rend(), after.rbegin(), after.rend()).first - before.rbegin(),
        static_cast<std::ptrdiff_t>(room)));
    const auto oldFrom = before.begin() + static_cast<std::ptrdiff_t>(prefix);
    const auto oldTo = before.end() - static_cast<std::ptrdiff_t>(suffix);
    const auto newFrom = after.begin() + static_cast<std::ptrdiff_t>(prefix);
    const auto newTo = after.end() - static_cast<std::ptrdiff_t>(suffix);
    if (present) {
        fuzz::require(!holdsLineEnd(oldFrom, oldTo) && !holdsLineEnd(newFrom, newTo),
                      "a write of a present value changes that line alone");
        fuzz::require(newTo - newFrom <= value.toUtf8().size() + 2, "a write of a present value writes only the value");
    } else {
        fuzz::require(oldFrom == oldTo, "a new value adds bytes and removes none");
    }

    fuzz::require(ini.write(kSection, kKey, value) && fuzz::readFile(path) == after,
                  "writing the same value again changes nothing");
    return 0;
}
