#include "platform/services.h"

#include <atomic>

namespace zelmor::platform {
namespace {

std::atomic<Clock*> gClock{nullptr};
std::atomic<RegionalSettingsSource*> gRegional{nullptr};
std::atomic<ProcessInfo*> gProcess{nullptr};
std::atomic<FileSystem*> gFileSystem{nullptr};
std::atomic<Dialogs*> gDialogs{nullptr};
std::atomic<BusyCursor*> gBusyCursor{nullptr};
std::atomic<XmlDocuments*> gXml{nullptr};

}  // namespace

Clock& GetClock() {
  Clock* c = gClock.load();
  return c ? *c : SystemClock();
}
void SetClock(Clock* clock) { gClock.store(clock); }

RegionalSettingsSource& GetRegionalSettingsSource() {
  RegionalSettingsSource* r = gRegional.load();
  return r ? *r : SystemRegionalSettings();
}
void SetRegionalSettingsSource(RegionalSettingsSource* source) { gRegional.store(source); }

ProcessInfo& GetProcessInfo() {
  ProcessInfo* p = gProcess.load();
  return p ? *p : SystemProcessInfo();
}
void SetProcessInfo(ProcessInfo* info) { gProcess.store(info); }

FileSystem& GetFileSystem() {
  FileSystem* f = gFileSystem.load();
  return f ? *f : SystemFileSystem();
}
void SetFileSystem(FileSystem* fs) { gFileSystem.store(fs); }

Dialogs& GetDialogs() {
  Dialogs* d = gDialogs.load();
  return d ? *d : SystemDialogs();
}
void SetDialogs(Dialogs* dialogs) { gDialogs.store(dialogs); }

BusyCursor& GetBusyCursor() {
  BusyCursor* b = gBusyCursor.load();
  return b ? *b : SystemBusyCursor();
}
void SetBusyCursor(BusyCursor* cursor) { gBusyCursor.store(cursor); }

XmlDocuments& GetXmlDocuments() {
  XmlDocuments* x = gXml.load();
  return x ? *x : SystemXmlDocuments();
}
void SetXmlDocuments(XmlDocuments* xml) { gXml.store(xml); }

}  // namespace zelmor::platform
