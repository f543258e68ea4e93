#pragma once
// KRVX.ini read and written the way the platform's profile-string routines do it: values raw
// (a backslash stays a backslash, nothing quoted or escaped), section and key matched without
// regard to case, every other line, section and comment kept, the file created when missing.

#include <QString>

class IniFile {
public:
    explicit IniFile(QString path) : path_(std::move(path)) {}
    const QString& path() const { return path_; }

    // The value (at most 2047 characters of it), or fallback when file, section or key is missing.
    QString read(const QString& section, const QString& key, const QString& fallback) const;
    // False when the file cannot be written.
    bool write(const QString& section, const QString& key, const QString& value) const;

private:
    QString path_;
};
