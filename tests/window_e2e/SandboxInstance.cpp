#include "SandboxInstance.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>

namespace flagwright::testing {

SandboxInstance::SandboxInstance() : dir_(qEnvironmentVariable("SANDBOX_DIR"))
{
    if (dir_.isEmpty())
        problem_ = QStringLiteral("SANDBOX_DIR is not set: run through ctest");
    else if (!Control(R"({"cmd": "ping"})"))
        problem_ = "no sandbox answers at " + dir_;
}

QString SandboxInstance::NewDataDir(const QString& name) const
{
    const QString path = own_.filePath(name);
    QDir().mkpath(path);
    return path;
}

bool SandboxInstance::AddDatabase(const QString& dataDir, const QString& name) const
{
    return QFile::copy(dir_ + QStringLiteral("/data/Emberline.sqlite"),
                       QDir(dataDir).filePath(name + QStringLiteral(".sqlite")));
}

bool SandboxInstance::Control(const QByteArray& request) const
{
    QLocalSocket socket;
    socket.connectToServer(dir_ + QStringLiteral("/control.sock"));
    if (!socket.waitForConnected(5000))
        return false;
    socket.write(request + '\n');
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(5000))
            return false;
    return socket.readLine().contains("\"ok\": true");
}

bool SandboxInstance::ServeFrom(const QString& dataDir) const
{
    return Control(R"({"cmd": "data", "dir": ")" + dataDir.toUtf8() + "\"}");
}

bool SandboxInstance::Restore() const
{
    return Control(R"({"cmd": "faults", "faults": {}})") && Control(R"({"cmd": "start"})") &&
           ServeFrom(dir_ + QStringLiteral("/data"));
}

} // namespace flagwright::testing
