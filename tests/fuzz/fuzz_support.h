#pragma once
// Shared by the fuzz targets: the check that ends a run, and typed values read off the front
// of the fuzzer's bytes (zeros once they are used up).

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace fuzz {

inline void check(bool ok)
{
    if (!ok)
        std::abort();
}

class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool empty() const { return m_pos >= m_size; }
    uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    uint16_t word()
    {
        const unsigned high = byte();
        return static_cast<uint16_t>(high << 8 | byte());
    }
    std::string bytes(size_t n)
    {
        n = std::min(n, m_size - std::min(m_pos, m_size));
        std::string s(reinterpret_cast<const char*>(m_data + m_pos), n);
        m_pos += n;
        return s;
    }
    std::string rest() { return bytes(m_size); }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

} // namespace fuzz
