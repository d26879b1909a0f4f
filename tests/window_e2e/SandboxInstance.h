#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace flagwright::testing {

// The sandbox instance that the end-to-end test fixture started (found through SANDBOX_DIR).
// Tests point it at data folders of their own, so the fixture's sample databases stay as
// seeded for the other tests.
class SandboxInstance {
public:
    SandboxInstance();

    // Empty when the fixture's instance answers its control socket; otherwise why not.
    const QString& Problem() const { return problem_; }
    // A new empty data folder, removed with this object.
    QString NewDataDir(const QString& name) const;
    // Adds a database to a data folder as a copy of the seeded Emberline database.
    bool AddDatabase(const QString& dataDir, const QString& name) const;
    // Sends one control request (a JSON object) and tells whether it was carried out.
    bool Control(const QByteArray& request) const;
    bool ServeFrom(const QString& dataDir) const;
    // Undoes what a test changed: no faults, running, serving the seeded folder.
    bool Restore() const;

private:
    QString dir_;
    QTemporaryDir own_;
    QString problem_;
};

} // namespace flagwright::testing
