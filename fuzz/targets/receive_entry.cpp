// A receive record as the adapter may hand it over: any count, any protocol
// number, a null array or one holding only as many values as may be read.
// The entry, its row texts and its details text are built from it, and the
// callback appends it to the receive queue, which keeps its values whole up
// to the limit.
#include "frameformat.h"
#include "fuzzinput.h"
#include "fuzztarget.h"
#include "receivequeue.h"

#include <QtGlobal>

#include <algorithm>
#include <climits>
#include <memory>

namespace {
// The callback's trace lines would flood the fuzzer's output.
void discardMessages(QtMsgType, const QMessageLogContext &, const QString &) { }
const auto previousHandler = qInstallMessageHandler(discardMessages);
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    IRResults results{};
    results.decode_type = input.take<int32_t>();
    results.address = input.take<uint32_t>();
    results.value = input.take<uint32_t>();
    results.bits = input.take<int32_t>();
    results.raw_count = input.take<int32_t>();
    results.extra = input.take<int32_t>();
    const bool nullArray = input.take<uint8_t>() & 1;
    const int row = std::clamp(input.take<int32_t>(), 0, INT_MAX - 1);

    // Exactly the values the queue may read, so that ASan sees any read past them.
    const int readable = std::clamp(results.raw_count, 0, irlimits::kMaxKeptRawValues);
    std::unique_ptr<int[]> raw;
    if (!nullArray) {
        raw.reset(new int[static_cast<size_t>(std::max(readable, 1))]);
        for (int i = 0; i < readable; ++i)
            raw[i] = input.take<int32_t>();
        results.raw_data = raw.get();
    }

    const IRResultsEntry entry = makeEntry(results);
    const int kept = nullArray ? 0 : readable;
    const int shown = std::min(kept, irlimits::kMaxRecordRawValues);
    FUZZ_CHECK(entry.keptCount == kept && entry.raw_count == shown);
    FUZZ_CHECK(static_cast<int>(entry.raw_values.size()) == shown);
    FUZZ_CHECK(std::equal(entry.raw_values.begin(), entry.raw_values.end(), raw.get()));
    FUZZ_CHECK(
        entry.truncated() == (!nullArray && results.raw_count > irlimits::kMaxKeptRawValues));
    FUZZ_CHECK(entry.decode_type == results.decode_type && entry.value == results.value
        && entry.address == results.address && entry.bits == results.bits);

    const auto cells = frameformat::rowTexts(row, entry);
    const int listed = shown > 1 ? cells[frameformat::RawData].count(QLatin1Char(',')) + 1 : 0;
    FUZZ_CHECK(listed == std::max(shown - 1, 0));
    FUZZ_CHECK(!cells[frameformat::Type].isEmpty());
    const QStringList details = frameformat::detailsLines(entry, cells[frameformat::RawData]);
    // After the raw data: the count of a frame longer than shown, the cut.
    const int notes = (kept > irlimits::kMaxRecordRawValues ? 1 : 0) + (entry.truncated() ? 1 : 0);
    const int lines = (cells[frameformat::Address].isNull() ? 3 : 4) + notes;
    FUZZ_CHECK(details.size() == lines);
    FUZZ_CHECK(details.at(lines - notes - 1).endsWith(cells[frameformat::RawData]));

    receiveQueue().clear();
    receiveCallback(input.take<int32_t>(), input.take<int32_t>(), &results);
    IRResultsEntry queued;
    FUZZ_CHECK(receiveQueue().size() == 1 && receiveQueue().entryAt(0, queued));
    FUZZ_CHECK(queued.raw_count == shown && queued.keptCount == kept);
    std::vector<int32_t> whole;
    FUZZ_CHECK(receiveQueue().rawValues(0, whole) && static_cast<int>(whole.size()) == kept);
    FUZZ_CHECK(std::equal(whole.begin(), whole.end(), raw.get()));
    receiveQueue().clear();
    return 0;
}
