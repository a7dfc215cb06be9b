#include "editor/EditingRules.h"

#include <cerrno>
#include <cstdlib>

namespace {

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool EqualsLower(std::u16string_view text, std::u16string_view lower) {
    if (text.size() != lower.size()) return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (Lower(text[i]) != lower[i]) return false;
    return true;
}

std::u16string Number(long long n) {
    std::u16string out;
    const bool negative = n < 0;
    unsigned long long v = negative ? 0ull - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    do {
        out.insert(out.begin(), static_cast<char16_t>(u'0' + v % 10));
        v /= 10;
    } while (v);
    if (negative) out.insert(out.begin(), u'-');
    return out;
}

}  // namespace

DocumentFormat SaveFormatOf(std::u16string_view path) {
    if (path.size() < 3) return DocumentFormat::Other;
    const std::u16string_view tail = path.substr(path.size() - 3);
    if (EqualsLower(tail, u"txt")) return DocumentFormat::PlainText;
    if (EqualsLower(tail, u"rtf")) return DocumentFormat::Rtf;
    return DocumentFormat::Other;
}

bool OpensAsRtf(std::u16string_view path) {
    const size_t dot = path.find_last_of(u'.');
    return dot != std::u16string_view::npos && EqualsLower(path.substr(dot + 1), u"rtf");
}

size_t RtfNestingDepth(std::string_view rtf) {
    size_t depth = 0, deepest = 0;
    for (size_t i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '\\') ++i;  // \{ \} \\ are text
        else if (c == '{' && ++depth > deepest) deepest = depth;
        else if (c == '}' && depth > 0) --depth;
    }
    return deepest;
}

int ToggledEffects(int effects, int mask) {
    int bold = effects & kEffectBold, italic = effects & kEffectItalic, underline = effects & kEffectUnderline;
    if (mask == kEffectBold) bold ^= kEffectBold;
    else if (mask == kEffectItalic) italic ^= kEffectItalic;
    else if (mask == kEffectUnderline) underline ^= kEffectUnderline;
    return bold | italic | underline;
}

int SteppedFontSize(int size, bool up) {
    if (up) return size < 72 ? size + 1 : size;
    return size > 9 ? size - 1 : size;
}

uint32_t PresetColour(std::u16string_view text) {
    // Digits and a sign only; anything else ends the number where it stands, like the settings
    // window's own conversion. No digits at all gives 0.
    std::string ascii;
    size_t i = 0;
    while (i < text.size() && text[i] == u' ') ++i;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) ascii += static_cast<char>(text[i++]);
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9' && ascii.size() < 20) ascii += static_cast<char>(text[i++]);
    errno = 0;
    const long long v = std::strtoll(ascii.c_str(), nullptr, 10);
    if (errno == ERANGE) return 0;
    return static_cast<uint32_t>(v);
}

std::u16string TimeMarker(std::u16string_view positionText) {
    std::u16string marker(u"【");
    marker.append(positionText).append(u"】");
    return marker;
}

std::u16string SeparatorText() { return u"\r\n" + std::u16string(28, u'━') + u"\r\n\r\n"; }

std::array<std::u16string, 10> DateTimeEntries(const DateTimeParts& t) {
    static constexpr const char16_t* kDays[] = {u"日", u"一", u"二", u"三", u"四", u"五", u"六"};
    const std::u16string y = Number(t.year), m = Number(t.month), d = Number(t.day);
    const std::u16string yy = y.size() >= 2 ? y.substr(y.size() - 2) : y;
    std::u16string week(u"星期");
    week += kDays[((t.weekday % 7) + 7) % 7];
    const std::u16string hm = Number(t.hour) + u":" + Number(t.minute);
    std::u16string ms(u":");
    ms.append(Number(t.minute)).append(u":").append(Number(t.second));
    const bool morning = t.hour < 12;
    const int hour12 = morning ? t.hour : (t.hour > 12 ? t.hour - 12 : 12);
    const std::u16string prefix = morning ? u"上午 " : u"下午 ";
    const std::u16string hour = Number(hour12);
    return {
        y + u"-" + m + u"-" + d,
        yy + u"-" + m + u"-" + d,
        y + u"年" + m + u"月" + d + u"日",
        y + u" " + m + u" " + d,
        y + u" " + m + u" " + d + u" " + week,
        y + u"年" + m + u"月" + d + u"日 " + week,
        hm,
        hm + u":" + Number(t.second),
        prefix + hour + ms,
        prefix + (hour.size() == 1 ? std::u16string(u"0").append(hour) : hour) + ms,
    };
}

PanelPoint PopUpPlacement(int x, int y, int editorWidth, int editorHeight, int panelWidth, int panelHeight) {
    // Whole pixels: "exactly at the limit fits" is the plain comparison.
    const bool tooLow = y > editorHeight - panelHeight;
    const bool tooRight = x > editorWidth - panelWidth;
    return {tooRight ? x - panelWidth : x, tooLow ? y - panelHeight : y};
}

size_t GbkPieceEnd(std::string_view text, size_t from, size_t most) {
    if (text.size() - from <= most) return text.size();
    size_t end = from;
    while (end < from + most) {
        const auto c = static_cast<unsigned char>(text[end]);
        end += c >= 0x81 && c <= 0xFE ? 2 : 1;
    }
    if (end > from + most) end -= 2;
    const size_t lf = text.substr(from, end - from).rfind('\n');
    if (lf != std::string_view::npos) return from + lf + 1;
    if (end > from + 1 && text[end - 1] == '\r') --end;
    return end;
}
