#include "controllers/key_names.h"

namespace {

struct NamedKey {
    std::uint8_t vk;
    const char* szName;
};

// The first name of a key is the one the writer prints; later rows are
// other spellings people write.
const NamedKey kNames[] = {
    {0x08, "Back"},       {0x09, "Tab"},          {0x0D, "Return"},      {0x10, "Shift"},
    {0x11, "Ctrl"},       {0x12, "Alt"},          {0x13, "Pause"},       {0x14, "CapsLock"},
    {0x1B, "Escape"},     {0x20, "Space"},        {0x21, "PgUp"},        {0x22, "PgDn"},
    {0x23, "End"},        {0x24, "Home"},         {0x25, "Left"},        {0x26, "Up"},
    {0x27, "Right"},      {0x28, "Down"},         {0x2C, "PrintScreen"}, {0x2D, "Insert"},
    {0x2E, "Delete"},     {0x5B, "Win"},          {0x5D, "Apps"},        {0x6A, "Multiply"},
    {0x6B, "Add"},        {0x6D, "Subtract"},     {0x6E, "Decimal"},     {0x6F, "Divide"},
    {0xA6, "BrowserBack"}, {0xA7, "BrowserForward"}, {0xAD, "VolumeMute"}, {0xAE, "VolumeDown"},
    {0xAF, "VolumeUp"},   {0xB0, "MediaNext"},    {0xB1, "MediaPrev"},   {0xB2, "MediaStop"},
    {0xB3, "MediaPlayPause"},
    // other spellings
    {0x08, "Backspace"},  {0x0D, "Enter"},        {0x11, "Control"},     {0x1B, "Esc"},
    {0x21, "PageUp"},     {0x22, "PageDown"},     {0x2D, "Ins"},         {0x2E, "Del"},
    {0x5B, "LWin"},       {0x6B, "Plus"},         {0x6D, "Minus"},
};

const char* const kNumpad[10] = {"Num0", "Num1", "Num2", "Num3", "Num4",
                                 "Num5", "Num6", "Num7", "Num8", "Num9"};
const char* const kFKeys[12] = {"F1", "F2", "F3", "F4", "F5", "F6",
                                "F7", "F8", "F9", "F10", "F11", "F12"};
// Letters and digits are their own names; these give them as strings.
const char kAlnum[] = "0\0" "1\0" "2\0" "3\0" "4\0" "5\0" "6\0" "7\0" "8\0" "9\0"
                      "A\0" "B\0" "C\0" "D\0" "E\0" "F\0" "G\0" "H\0" "I\0" "J\0" "K\0" "L\0" "M\0"
                      "N\0" "O\0" "P\0" "Q\0" "R\0" "S\0" "T\0" "U\0" "V\0" "W\0" "X\0" "Y\0" "Z";

const char* const kDeliveryNames[] = {nullptr, "main", "always", "not-viewer",
                                      "form",  "form-message", "plain", "raised"};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = Lower(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

bool SameWord(const char* text, std::size_t len, const char* word) {
    std::size_t i = 0;
    for (; i < len; ++i)
        if (word[i] == '\0' || Lower(text[i]) != Lower(word[i])) return false;
    return word[i] == '\0';
}

const char* KeyName(std::uint8_t vk) {
    if (vk >= '0' && vk <= '9') return &kAlnum[(vk - '0') * 2];
    if (vk >= 'A' && vk <= 'Z') return &kAlnum[(vk - 'A' + 10) * 2];
    if (vk >= 0x60 && vk <= 0x69) return kNumpad[vk - 0x60];
    if (vk >= 0x70 && vk <= 0x7B) return kFKeys[vk - 0x70];
    for (const NamedKey& k : kNames)
        if (k.vk == vk) return k.szName;
    return nullptr;
}

bool ParseKeyName(const char* text, std::size_t len, std::uint8_t& vk) {
    if (len == 1) {
        char c = Lower(text[0]);
        if (c >= '0' && c <= '9') return vk = static_cast<std::uint8_t>(c), true;
        if (c >= 'a' && c <= 'z') return vk = static_cast<std::uint8_t>(c - 'a' + 'A'), true;
        return false;
    }
    if (len == 6 && SameWord(text, 4, "vk0x")) {
        int hi = HexDigit(text[4]), lo = HexDigit(text[5]);
        if (hi < 0 || lo < 0 || (hi == 0 && lo == 0)) return false;
        vk = static_cast<std::uint8_t>(hi * 16 + lo);
        return true;
    }
    for (std::uint8_t i = 0; i < 10; ++i)
        if (SameWord(text, len, kNumpad[i])) return vk = static_cast<std::uint8_t>(0x60 + i), true;
    for (std::uint8_t i = 0; i < 12; ++i)
        if (SameWord(text, len, kFKeys[i])) return vk = static_cast<std::uint8_t>(0x70 + i), true;
    for (const NamedKey& k : kNames)
        if (SameWord(text, len, k.szName)) return vk = k.vk, true;
    return false;
}

const char* DeliveryName(Delivery rule) {
    auto i = static_cast<std::size_t>(rule);
    return i < sizeof kDeliveryNames / sizeof kDeliveryNames[0] ? kDeliveryNames[i] : nullptr;
}

bool ParseDeliveryName(const char* text, std::size_t len, Delivery& rule) {
    for (std::size_t i = 1; i < sizeof kDeliveryNames / sizeof kDeliveryNames[0]; ++i) {
        if (!SameWord(text, len, kDeliveryNames[i])) continue;
        rule = static_cast<Delivery>(i);
        return true;
    }
    return false;
}
