// Reads typed values from a fuzzer's input bytes. Past the end every read
// gives zero, so a target never has to check the length itself.
#ifndef FUZZINPUT_H
#define FUZZINPUT_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

class FuzzInput
{
public:
    FuzzInput(const uint8_t *data, size_t size) : data_(data), size_(size) { }

    template <typename T> T take()
    {
        T value{};
        const size_t n = sizeof(T) < size_ ? sizeof(T) : size_;
        if (n > 0)
            std::memcpy(&value, data_, n);
        data_ += n;
        size_ -= n;
        return value;
    }

    // The bytes not read yet, as they are.
    std::string rest()
    {
        std::string text(reinterpret_cast<const char *>(data_), size_);
        data_ += size_;
        size_ = 0;
        return text;
    }

    bool empty() const
    {
        return size_ == 0;
    }
    size_t remaining() const
    {
        return size_;
    }

private:
    const uint8_t *data_;
    size_t size_;
};

#endif // FUZZINPUT_H
