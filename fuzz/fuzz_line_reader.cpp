// The line reader, fed in reads of any size with pauses in between and a buffer far smaller
// than the lines, must give the same lines as splitting the whole input at once, each judged
// by the core as the whole line is and said to begin where the whole line does.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "pelorin/decoder.h"
#include "pelorin/line_reader.h"

namespace {

using pelorin::LineReader;

// Hands out the input in reads whose sizes come from the input's first bytes; a size of 0
// reports the end of the data for now, as a file that is still being written does.
class ChunkedSource final : public pelorin::ByteSource {
  public:
    ChunkedSource(std::string_view data, std::vector<std::size_t> sizes)
        : data_(data), sizes_(std::move(sizes)) {}
    pelorin::ReadOutcome read(char* buffer, std::size_t capacity) override {
        const std::size_t n =
            std::min({sizes_[turn_++ % sizes_.size()], capacity, data_.size() - pos_});
        std::copy_n(data_.data() + pos_, n, buffer);
        pos_ += n;
        return {n, 0};
    }
    bool exhausted() const { return pos_ == data_.size(); }

  private:
    std::string_view data_;
    std::vector<std::size_t> sizes_;
    std::size_t pos_ = 0;
    std::size_t turn_ = 0;
};

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

void checkSame(std::string_view text, std::string_view whole, const LineReader::Line& line) {
    FUZZ_CHECK(line.offset == whole.data() - text.data());
    const std::string_view got = line.text;
    pelorin::FrameText expected{};
    pelorin::FrameText actual{};
    const auto kind = pelorin::ExamineLine(whole, expected);
    FUZZ_CHECK(pelorin::ExamineLine(got, actual) == kind);
    if (kind == pelorin::LineKind::Telemetry) {
        FUZZ_CHECK(actual == expected);
    }
    if (whole.size() < LineReader::kMinBufferSize) {  // room for the line end too
        FUZZ_CHECK(got == whole);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kSizeBytes = 4;
    if (size < kSizeBytes) {
        return 0;
    }
    std::vector<std::size_t> sizes;
    for (std::size_t k = 0; k < kSizeBytes; ++k) {
        sizes.push_back(data[k] % 4 == 0 ? 0 : data[k] * 8 + 1);  // 0 to 2041 bytes
    }
    if (std::all_of(sizes.begin(), sizes.end(), [](std::size_t s) { return s == 0; })) {
        sizes[0] = 1;
    }
    const std::string_view text(reinterpret_cast<const char*>(data + kSizeBytes),
                                size - kSizeBytes);
    const auto expected = splitLines(text);

    ChunkedSource source(text, sizes);
    LineReader reader(source, LineReader::kMinBufferSize);
    LineReader::Line line;
    std::size_t count = 0;
    for (;;) {
        const auto status = reader.next(line);
        FUZZ_CHECK(status == LineReader::Status::Line || status == LineReader::Status::EndOfData);
        if (status == LineReader::Status::Line) {
            FUZZ_CHECK(count < expected.size());
            FUZZ_CHECK(line.number == static_cast<std::int64_t>(count) + 1);
            checkSame(text, expected[count++], line);
        } else if (source.exhausted()) {
            break;
        }
    }
    if (reader.takeLast(line)) {
        FUZZ_CHECK(count < expected.size());
        checkSame(text, expected[count++], line);
    }
    FUZZ_CHECK(count == expected.size());
    return 0;
}
