#include <filesystem>
#include <system_error>

#include "adapters/linux/posix_files.h"
#include "adapters/linux/system_services.h"

namespace zelmor::adapters {
namespace {

class LinuxFileAccess final : public platform::FileAccess {
 public:
  bool ReadAll(std::u16string_view path, std::string& bytes) override {
    return posix::ReadWhole(posix::NativePath(path), bytes);
  }

  bool ReadRange(std::u16string_view path, std::uint64_t offset, std::size_t count, std::string& bytes) override {
    return posix::ReadPart(posix::NativePath(path), offset, count, bytes);
  }

  void Replace(std::u16string_view path, std::string_view bytes) override {
    posix::ReplaceWhole(posix::NativePath(path), bytes, 0666, false);
  }

  bool CreateFolders(std::u16string_view path) override {
    std::error_code ec;
    const std::filesystem::path p(posix::NativePath(path));
    std::filesystem::create_directories(p, ec);
    return std::filesystem::is_directory(p, ec);
  }
};

}  // namespace

platform::FileAccess& SystemFileAccess() {
  static LinuxFileAccess access;
  return access;
}

}  // namespace zelmor::adapters
