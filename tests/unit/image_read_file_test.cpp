#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "image/drive_folder.h"
#include "param_name.h"
#include "scratch_folder.h"

namespace purgent::image {
namespace {
namespace fs = std::filesystem;

struct FileSize {
    const char* what;
    std::size_t size;
};

// Files are read a block at a time: around a block's size nothing may be
// lost or doubled.
const FileSize kSizes[] = {
    {"empty", 0}, {"one byte", 1}, {"a block less one", 65535}, {"a block", 65536},
    {"a block and one", 65537}, {"several blocks", 3 * 65536 + 123},
};

void PrintTo(const FileSize& size, std::ostream* out) { *out << size.what; }

class ReadFile : public ::testing::TestWithParam<FileSize> {};

TEST_P(ReadFile, GivesEveryByteOnce) {
    const testing::ScratchFolder scratch("purgent-read");
    const fs::path path = scratch.Path() / "file";
    Bytes written(GetParam().size);
    for (std::size_t i = 0; i < written.size(); ++i) written[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    WriteFileBytes(path.string(), written);
    EXPECT_EQ(ReadFileBytes(path.string()), written);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ReadFile, ::testing::ValuesIn(kSizes),
                         testing::CaseName<FileSize>);

}  // namespace
}  // namespace purgent::image
