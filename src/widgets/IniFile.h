#pragma once
// KRVX.ini read and written the way the platform's profile-string routines do it: values raw
// (a backslash stays a backslash; one pair of enclosing double quotes dropped on read), section
// and key matched without regard to case, the file created when missing. The file is handled as
// bytes: a write changes only the bytes of the one value (or adds its line), so other sections
// in any encoding, comments, a byte-order mark and the file's own line endings stay as they were.
// Values are UTF-8.

#include <QString>

class IniFile {
public:
    explicit IniFile(QString path) : path_(std::move(path)) {}
    const QString& path() const { return path_; }

    // The value (at most 2047 characters of it), or fallback when file, section or key is missing.
    QString read(const QString& section, const QString& key, const QString& fallback) const;
    // False when the file cannot be read back or written (also a read-only file), or when the
    // value cannot stand on one line (see holdsOnOneLine); the file is then unchanged.
    bool write(const QString& section, const QString& key, const QString& value) const;

    // A value with a line break (or a zero byte) would break its line apart.
    static bool holdsOnOneLine(const QString& value);

private:
    QString path_;
};
