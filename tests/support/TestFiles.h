#pragma once
// Small helpers for tests that work on real files in temporary folders.

#include "gamedb/FileIo.h"

#include <QByteArray>
#include <QString>

namespace testfiles {

QByteArray readAll(const QString& path);
void writeAll(const QString& path, const QByteArray& bytes);
gamedb::Bytes toBytes(const QByteArray& a);
QByteArray fromBytes(const gamedb::Bytes& b);
// Names of the files in folder, sorted (to see that no temporary file was left behind).
QStringList filesIn(const QString& folder);

// Injects faults into gamedb's file access while alive.
class FaultScope {
public:
    explicit FaultScope(const gamedb::IoFaults& f) : faults_(f) { gamedb::setIoFaults(&faults_); }
    ~FaultScope() { gamedb::setIoFaults(nullptr); }
    FaultScope(const FaultScope&) = delete;
    FaultScope& operator=(const FaultScope&) = delete;

private:
    gamedb::IoFaults faults_;
};

} // namespace testfiles
