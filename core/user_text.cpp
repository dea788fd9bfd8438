#include "core/user_text.h"

namespace {

bool IsControl(char c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

}  // namespace

std::string CleanNameText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    bool inControlRun = false;
    for (char c : text) {
        if (IsControl(c)) {
            if (!inControlRun) out += ' ';
            inControlRun = true;
            continue;
        }
        inControlRun = false;
        out += c;
    }
    const size_t first = out.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    const size_t last = out.find_last_not_of(' ');
    return out.substr(first, last - first + 1);
}
