#include "platform/os/AutomationServers.h"

#include <mutex>

#include "platform/os/Database.h"
#include "platform/os/SpreadsheetServer.h"
#include "platform/os/XmlDocument.h"

void RegisterAutomationServers()
{
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterOleServer(XmlDocumentProgId, CreateXmlDocument);
        RegisterOleServer(DatabaseConnectionProgId, CreateDatabaseConnection);
        RegisterOleServer(DatabaseRecordSetProgId, CreateDatabaseRecordSet);
        RegisterOleServer(SpreadsheetProgId, CreateSpreadsheetApplication);
    });
}
