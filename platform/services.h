// The platform seam: the library reaches the operating system only through the
// services returned here. Each starts as the real implementation for this system;
// tests and tools install their own with the setters (nullptr restores the real one).
// Install replacements before other threads start using the library.
#pragma once

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/xml_documents.h"
#include "platform/process_info.h"
#include "platform/regional_settings.h"

namespace zelmor::platform {

Clock& GetClock();
void SetClock(Clock* clock);

RegionalSettingsSource& GetRegionalSettingsSource();
void SetRegionalSettingsSource(RegionalSettingsSource* source);

ProcessInfo& GetProcessInfo();
void SetProcessInfo(ProcessInfo* info);

FileSystem& GetFileSystem();
void SetFileSystem(FileSystem* fs);

Dialogs& GetDialogs();
void SetDialogs(Dialogs* dialogs);

BusyCursor& GetBusyCursor();
void SetBusyCursor(BusyCursor* cursor);

XmlDocuments& GetXmlDocuments();
void SetXmlDocuments(XmlDocuments* xml);

// The real implementations for this system (defined by the system's folder).
Clock& SystemClock();
RegionalSettingsSource& SystemRegionalSettings();
ProcessInfo& SystemProcessInfo();
FileSystem& SystemFileSystem();
// Without a screen: messages to standard error, default answers, no cursor.
Dialogs& SystemDialogs();
BusyCursor& SystemBusyCursor();
XmlDocuments& SystemXmlDocuments();

}  // namespace zelmor::platform
