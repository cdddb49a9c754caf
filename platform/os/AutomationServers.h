// The automation servers the platform provides: the XML document, the
// database connection and record set, and the spreadsheet application. The program's main and the test mains
// call RegisterAutomationServers once at start-up (calling it again does
// nothing more); the word-processor identifier is not registered.
#pragma once

void RegisterAutomationServers();
