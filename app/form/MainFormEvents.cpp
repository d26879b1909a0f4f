#include "app/form/MainFormEvents.h"

#include "discovery/OfferedDatabases.h"

namespace flagwright {

MainFormEvents::MainFormEvents(ComboBox& cboDatabase, WindowServices& window,
                               ConnectionFactory newConnection, ConnectionSettings instance)
    : cboDatabase_(cboDatabase), newConnection_(newConnection), instance_(instance),
      run_(window, std::move(newConnection), std::move(instance))
{}

void MainFormEvents::Form_Load() { LoadDatabaseList(cboDatabase_); }

void MainFormEvents::cmdUpdate_Click() { run_.Run(cboDatabase_.Text()); }

void MainFormEvents::LoadDatabaseList(ComboBox& combo)
{
    combo.Clear();
    for (const std::string& name : OfferedDatabases(newConnection_, instance_))
        combo.AddItem(name);
}

} // namespace flagwright
