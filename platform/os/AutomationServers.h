// The automation servers the platform provides: the XML document and the
// database connection and record set. The program's main and the test mains
// call RegisterAutomationServers once at start-up (calling it again does
// nothing more); the word-processor and spreadsheet identifiers are not
// registered here.
#pragma once

void RegisterAutomationServers();
