#include "decodelist.h"

#include "convert.h"
#include "formats.h"
#include "reading.h"

namespace irfiles {

namespace {

constexpr char kTab = '\t';

void line(std::string &out, const std::string &file, size_t record, size_t frame,
    const ircodec::Reading &reading, const std::string &text)
{
    out += file;
    out += kTab + std::to_string(record) + kTab + std::to_string(frame) + kTab;
    out += ircodec::protocolName(reading);
    out += kTab + std::to_string(ircodec::bitCount(reading)) + kTab;
    out += ircodec::dataHex(reading);
    out += kTab + text + '\n';
}

std::string joined(std::string text, const std::string &more)
{
    if (!text.empty() && !more.empty())
        text += ", ";
    return text + more;
}

// What follows a reading in its sequence, in words.
std::string sequenceText(const ircodec::Sequence::Item &item)
{
    std::string text;
    if (item.blocks > 1)
        text = "in " + std::to_string(item.blocks) + " blocks";
    if (item.repeats > 0)
        text = joined(text,
            "then " + std::to_string(item.repeats) + (item.repeats == 1 ? " repeat" : " repeats"));
    return text;
}

} // namespace

std::string decodeLines(const std::string &file, const std::vector<Signal> &records)
{
    std::string out;
    for (size_t r = 0; r < records.size(); ++r) {
        const auto frames = ircodec::segment(records[r].durations);
        const ircodec::Sequence sequence = ircodec::readSequence(frames);
        size_t item = 0;
        std::vector<int> blockNumber(frames.size(), 1);
        for (size_t f = 0; f < sequence.frames.size(); ++f) {
            const ircodec::SequenceFrame &frame = sequence.frames[f];
            const auto first = static_cast<size_t>(frame.first);
            switch (frame.role) {
            case ircodec::Role::First: {
                while (item < sequence.items.size()
                    && static_cast<size_t>(sequence.items[item].frame) != f)
                    ++item;
                const ircodec::Sequence::Item &it = sequence.items[item];
                std::string text = ircodec::detailText(it.reading);
                if (!it.reading)
                    text = std::to_string(frames[f].durations.size()) + " durations";
                line(out, file, r, f, it.reading, joined(text, sequenceText(it)));
                break;
            }
            case ircodec::Role::Repeat:
                line(out, file, r, f, frame.reading, "repeat of frame " + std::to_string(first));
                break;
            case ircodec::Role::Block:
                blockNumber[first] += 1;
                line(out, file, r, f, frame.reading,
                    "block " + std::to_string(blockNumber[first]) + " of frame "
                        + std::to_string(first));
                break;
            }
        }
    }
    return out;
}

int decodeFiles(const std::vector<std::string> &files, std::ostream &out, std::ostream &err)
{
    int status = kConvertOk;
    for (const std::string &file : files) {
        // The format by the extension, else by the first lines.
        const Loaded loaded = readFile(file);
        for (const Error &skipped : loaded.skipped)
            err << "tavrel: " << skipped.text() << "\n";
        if (!loaded.ok()) {
            err << "tavrel: " << loaded.error->text() << "\n";
            status = kConvertBadInput;
            continue;
        }
        out << decodeLines(file, loaded.list);
    }
    out.flush();
    return status;
}

const char kDecodeOption[] = "--decode";
const char kDecodeSynopsis[] = "--decode FILE...";
const char kDecodeDescription[]
    = "Prints every frame of the files, one line each, without a display: file, record, frame "
      "within the record, protocol (UNKNOWN when nothing reads it; PULSE_DISTANCE, PULSE_WIDTH or "
      "BIPHASE for a generic reading), bits, data in hex, and the fields, repeats and timing in "
      "words, tab-separated. Formats by extension, as --convert reads them.";

int decodeMain(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    std::vector<std::string> files;
    bool optionsEnd = false;
    for (const std::string &arg : args) {
        if (arg == kDecodeOption && !optionsEnd)
            continue;
        if (arg == "--" && !optionsEnd) {
            optionsEnd = true;
            continue;
        }
        if (!optionsEnd && arg.size() > 1 && arg[0] == '-') {
            err << "tavrel: unknown option " << arg << "\nusage: tavrel " << kDecodeSynopsis
                << "\n";
            return kConvertBadInput;
        }
        files.push_back(arg);
    }
    if (files.empty()) {
        err << "tavrel: give one file or more\nusage: tavrel " << kDecodeSynopsis << "\n";
        return kConvertBadInput;
    }
    return decodeFiles(files, out, err);
}

} // namespace irfiles
