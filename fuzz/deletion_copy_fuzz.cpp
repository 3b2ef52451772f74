// The deletion copy of the catalogue on any bytes and any line: every other line
// that holds something stays, byte for byte and in order, with its CR LF; the left
// out line and empty lines go; the path of the deleted playlist is the left-out
// line up to its first "*". The first input byte picks the line, the rest is the catalogue.

#include "fuzz_input.h"
#include "playlists/deletion.h"

#include <string_view>

namespace {

struct Expected {
    std::string bytes;
    std::string deletedPath;
};

Expected ExpectedCopy(std::string_view catalogue, int leftOut)
{
    const Lines lines = SplitLines(catalogue);
    Expected expected;
    auto keep = [&](const std::string& text, std::size_t line, const char* lineEnd) {
        if (static_cast<int>(line) == leftOut) {
            expected.deletedPath = text.substr(0, text.find('*'));
        } else if (!text.empty()) {
            expected.bytes += text + lineEnd;
        }
    };
    for (std::size_t line = 0; line < lines.terminated.size(); ++line)
        keep(lines.terminated[line], line, "\r\n");
    keep(lines.tail, lines.terminated.size(), "");
    return expected;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const int leftOut = data[0] % 16;
    const std::string_view catalogue(reinterpret_cast<const char*>(data) + 1, size - 1);
    MemoryFileSystem fs;
    fs.files["PLT.plt"] = std::string(catalogue);

    auto in = TextFile::Open("PLT.plt", TextFile::Access::Read);
    const CatalogueWithout copy = CopyCatalogueWithout(*in, leftOut);
    auto out = TextFile::Open("PLT.pltt", TextFile::Access::Write);
    Require(out->Put(copy.text) && out->Close(), "the copy is written");

    const Expected expected = ExpectedCopy(catalogue, leftOut);
    Require(fs.files["PLT.pltt"] == expected.bytes, "every other line stays byte for byte");
    Require(copy.deletedPath == expected.deletedPath, "the deleted path is the line up to its first *");
    return 0;
}
