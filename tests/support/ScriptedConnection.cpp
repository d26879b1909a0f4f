#include "tests/support/ScriptedConnection.h"

#include <thread>

namespace flagwright::testing {

Recordset VersionRows(const std::vector<Variant>& values)
{
    std::vector<std::vector<Variant>> rows;
    for (const Variant& value : values)
        rows.push_back({value});
    return Recordset({"Value"}, std::move(rows));
}

Recordset CatalogRows(const std::vector<std::pair<Variant, Variant>>& databases)
{
    std::vector<std::vector<Variant>> rows;
    for (const auto& [name, isSystem] : databases)
        rows.push_back({name, std::to_string(rows.size() + 1), isSystem});
    return Recordset({"name", "dbid", "IsSystem"}, std::move(rows));
}

ScriptedConnection::ScriptedConnection(std::shared_ptr<ConnectionScript> script)
    : script_(std::move(script)), id_(++script_->created)
{
    ++script_->live;
    Log("New");
}

ScriptedConnection::~ScriptedConnection()
{
    --script_->live;
    Log(state_ == adStateOpen ? "Release(open)" : "Release");
}

void ScriptedConnection::Open(const ConnectionSettings& settings)
{
    script_->opened.push_back(settings);
    Log("Open(" + settings.database + ")");
    std::this_thread::sleep_for(script_->openTakes);
    if (script_->openFailure)
        throw *script_->openFailure;
    if (!script_->openLeavesClosed)
        state_ = adStateOpen;
}

void ScriptedConnection::CommandTimeout(std::chrono::milliseconds limit)
{
    script_->commandTimeouts.push_back(limit);
    Log("CommandTimeout");
}

Recordset ScriptedConnection::Execute(const std::string& commandText)
{
    if (state_ != adStateOpen)
        throw layer_failure::ObjectClosed();
    script_->statements.push_back(commandText);
    Log("Execute");
    for (const ConnectionScript::Answer& answer : script_->answers)
        if (commandText.rfind(answer.prefix, 0) == 0) {
            if (answer.failure)
                throw *answer.failure;
            return answer.rows;
        }
    const bool isVersionQuery = commandText.rfind("Select Value from Defaults", 0) == 0;
    if (isVersionQuery && script_->versionFailure)
        throw *script_->versionFailure;
    if (script_->failAtExecute == static_cast<int>(script_->statements.size()))
        throw *script_->executeFailure;
    if (isVersionQuery && script_->versionResult)
        return *script_->versionResult;
    const bool isCatalogQuery = commandText.rfind("SELECT name", 0) == 0;
    return isCatalogQuery && script_->catalogResult ? *script_->catalogResult : Recordset();
}

void ScriptedConnection::Close()
{
    if (state_ != adStateOpen)
        throw layer_failure::ObjectClosed();
    Log("Close");
    if (script_->closeFailure)
        throw *script_->closeFailure;
    state_ = adStateClosed;
}

ConnectionFactory ScriptedConnection::Factory(std::shared_ptr<ConnectionScript> script)
{
    return [script] { return std::make_unique<ScriptedConnection>(script); };
}

void ScriptedConnection::Log(const std::string& line) const
{
    if (script_->log)
        script_->log->push_back("cn" + std::to_string(id_) + "." + line);
}

} // namespace flagwright::testing
