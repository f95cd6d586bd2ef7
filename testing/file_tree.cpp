#include "testing/file_tree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "core/text.h"

namespace zelmor::testing {

namespace fs = std::filesystem;

std::string FileTree::Native(std::string_view rel) const {
  return rel.empty() ? Root() : Root() + "/" + std::string(rel);
}

std::u16string FileTree::Path(std::string_view rel) const { return Utf8ToU16(Native(rel), Utf8Invalid::Escape); }

void FileTree::Write(std::string_view rel, std::string_view bytes, std::time_t mtime) const {
  const fs::path p(Native(rel));
  fs::create_directories(p.parent_path());
  {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + p.string());
  }
  if (mtime) {
    const struct timespec times[2] = {{mtime, 0}, {mtime, 0}};
    if (utimensat(AT_FDCWD, p.c_str(), times, 0) != 0) throw std::runtime_error("cannot set the time of " + p.string());
  }
}

std::string FileTree::Read(std::string_view rel) const {
  std::ifstream in(Native(rel), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + Native(rel));
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void FileTree::Folder(std::string_view rel) const { fs::create_directories(Native(rel)); }

void FileTree::Link(std::string_view rel, const std::string& target) const {
  fs::create_directories(fs::path(Native(rel)).parent_path());
  if (symlink(target.c_str(), Native(rel).c_str()) != 0) throw std::runtime_error("cannot link " + Native(rel));
}

void FileTree::ReadOnly(std::string_view rel, bool readOnly) const {
  struct stat st {};
  const std::string p = Native(rel);
  if (stat(p.c_str(), &st) != 0) throw std::runtime_error("no such entry " + p);
  const mode_t mode = readOnly ? (st.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)) : (st.st_mode | S_IWUSR);
  if (chmod(p.c_str(), mode & 07777) != 0) throw std::runtime_error("cannot chmod " + p);
}

bool FileTree::Exists(std::string_view rel) const {
  struct stat st {};
  return lstat(Native(rel).c_str(), &st) == 0;
}

std::time_t FileTree::ModifiedAt(std::string_view rel) const {
  struct stat st {};
  if (stat(Native(rel).c_str(), &st) != 0) throw std::runtime_error("no such entry " + Native(rel));
  return st.st_mtim.tv_sec;
}

unsigned FileTree::Mode(std::string_view rel) const {
  struct stat st {};
  if (lstat(Native(rel).c_str(), &st) != 0) throw std::runtime_error("no such entry " + Native(rel));
  return st.st_mode & 07777;
}

std::vector<std::string> FileTree::Names(std::string_view rel) const {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(Native(rel))) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : FName(name) {
  const char* old = std::getenv(name);
  FHad = old != nullptr;
  if (old) FOld = old;
  if (value)
    setenv(name, value, 1);
  else
    unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
  if (FHad)
    setenv(FName.c_str(), FOld.c_str(), 1);
  else
    unsetenv(FName.c_str());
}

bool FileTree::WaitedOnPipe(std::string_view rel, const std::function<void()>& call, int patienceSeconds) const {
  const std::string pipe = Native(rel);
  if (mkfifo(pipe.c_str(), 0644) != 0) throw std::runtime_error("mkfifo " + pipe);
  std::mutex m;
  std::condition_variable cv;
  bool done = false, waited = false;
  std::thread watch([&] {
    std::unique_lock lock(m);
    if (cv.wait_for(lock, std::chrono::seconds(patienceSeconds), [&] { return done; })) return;
    // Opening the writing end succeeds only while a reader holds the pipe open, and
    // lets that reader go (it then reads an empty pipe).
    while (!done) {
      const int fd = open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
      if (fd >= 0) {
        waited = true;
        close(fd);
      }
      cv.wait_for(lock, std::chrono::milliseconds(100), [&] { return done; });
    }
  });
  try {
    call();
  } catch (...) {
    {
      std::lock_guard lock(m);
      done = true;
    }
    cv.notify_all();
    watch.join();
    throw;
  }
  {
    std::lock_guard lock(m);
    done = true;
  }
  cv.notify_all();
  watch.join();
  return waited;
}

}  // namespace zelmor::testing
