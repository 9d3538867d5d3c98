#pragma once
#include <QProcess>
#include <QString>
#include <QStringList>

// A test server written in Python, on 127.0.0.1, for the life of the object.
// The script prints "PORT <number>" as its first line.
class ScriptServer {
public:
    ScriptServer(const QString& script, const QStringList& arguments);
    ~ScriptServer();
    ScriptServer(const ScriptServer&) = delete;
    ScriptServer& operator=(const ScriptServer&) = delete;

    int Port() const { return m_port; }
    // Waits until the script prints this line; false when it has not within timeoutMs.
    bool WaitForLine(const QByteArray& line, int timeoutMs);

private:
    QProcess m_process;
    int m_port = 0;
};
