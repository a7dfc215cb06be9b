#include "shell/XmlDocument.h"

#include <algorithm>
#include <exception>
#include <fstream>
#include <system_error>

namespace {

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"gb18030\"?>";

bool IsSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Any byte of a multi-byte character counts as a name character: Chinese element names are
// as legal as Latin ones, and we do not decode to find out which of them are letters.
bool IsNameStart(unsigned char c) { return IsAsciiLetter(c) || c == '_' || c == ':' || c >= 0x80; }

bool IsNameChar(unsigned char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

// XML 1.0 allows no C0 control but tab, line feed and carriage return, not even as a
// character reference.
bool IsForbiddenControl(unsigned char c) { return c < 0x20 && c != '\t' && c != '\n' && c != '\r'; }

bool IsGbkLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool IsGbkTrail(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

bool AllSpace(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return IsSpace(static_cast<unsigned char>(c)); });
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

// "@n" with n from 1; 0 for anything else.
uint32_t IndexStep(std::string_view step) {
    if (step.size() < 2 || step.size() > 10 || step[0] != '@') return 0;
    uint64_t n = 0;
    for (char c : step.substr(1)) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + static_cast<uint64_t>(c - '0');
    }
    return n <= UINT32_MAX ? static_cast<uint32_t>(n) : 0;
}

std::string WithoutControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (!IsForbiddenControl(static_cast<unsigned char>(c))) out.push_back(c);
    return out;
}

// Blanks ahead of children would read as layout; as references they stay text.
void AppendBlanksAsReferences(std::string& out, std::string_view text) {
    for (char c : text) out += c == ' ' ? "&#32;" : c == '\t' ? "&#9;" : c == '\n' ? "&#10;" : "&#13;";
}

void AppendEscaped(std::string& out, std::string_view text, bool attribute) {
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            // Escaped as well so that no text can ever form "]]>".
            case '>': out += "&gt;"; break;
            // A reader normalises line ends, so a bare CR only survives as a reference.
            case '\r': out += "&#13;"; break;
            case '"': out += attribute ? "&quot;" : "\""; break;
            case '\t': out += attribute ? "&#9;" : "\t"; break;
            case '\n': out += attribute ? "&#10;" : "\n"; break;
            default: out.push_back(c); break;
        }
    }
}

}  // namespace

// A one-pass parser that keeps its own stack of open elements, so nesting costs no C++ stack.
class XmlParser {
public:
    XmlParser(std::string_view input, XmlDocument& doc) : s_(input), doc_(doc) {}

    bool Run() {
        if (StartsWith("\xEF\xBB\xBF")) {
            p_ = 3;
            pairedBytes_ = false;
        }
        for (size_t i = 0; i < s_.size(); ++i)
            if (IsForbiddenControl(static_cast<unsigned char>(s_[i]))) return FailAt(i, "control character");

        if (StartsWith("<?xml") && p_ + 5 < s_.size() && (IsSpace(At(p_ + 5)) || s_[p_ + 5] == '?')) {
            if (!ParseDeclaration()) return false;
        }
        // Every element but an empty one has two tags; room for that many saves the copies a
        // growing array makes on a big file.
        doc_.nodes_.reserve(static_cast<size_t>(std::count(s_.begin(), s_.end(), '<')) / 2 + 1);
        bool sawDoctype = false;
        for (;;) {
            SkipSpace();
            if (AtEnd()) return Fail("no root element");
            if (StartsWith("<!--")) {
                if (!ParseComment()) return false;
            } else if (StartsWith("<!DOCTYPE")) {
                if (sawDoctype) return Fail("second document type");
                sawDoctype = true;
                if (!ParseDoctype()) return false;
            } else if (StartsWith("<?")) {
                if (!ParseInstruction()) return false;
            } else if (s_[p_] == '<' && p_ + 1 < s_.size() && IsNameStart(At(p_ + 1))) {
                break;
            } else {
                return Fail("text before the root element");
            }
        }
        if (!ParseElements()) return false;
        for (;;) {
            SkipSpace();
            if (AtEnd()) return true;
            if (StartsWith("<!--")) {
                if (!ParseComment()) return false;
            } else if (StartsWith("<?")) {
                if (!ParseInstruction()) return false;
            } else {
                return Fail("content after the root element");
            }
        }
    }

private:
    using Attribute = XmlDocument::Attribute;
    static constexpr uint32_t kNone = XmlDocument::kNone;

    // Character data of an open element since its last child started.
    struct Open {
        uint32_t node;
        std::string segment;
        bool significant = false;  // held CDATA or a reference, so even blanks are content
    };

    bool Fail(const char* why) { return FailAt(p_, why); }
    bool FailAt(size_t at, const char* why) {
        doc_.error_ = "offset " + std::to_string(at) + ": " + why;
        return false;
    }

    bool AtEnd() const { return p_ >= s_.size(); }
    unsigned char At(size_t i) const { return static_cast<unsigned char>(s_[i]); }
    bool StartsWith(std::string_view t) const { return s_.substr(std::min(p_, s_.size())).starts_with(t); }
    void SkipSpace() {
        while (!AtEnd() && IsSpace(At(p_))) ++p_;
    }

    // A GBK character is two bytes whose second may be an ASCII letter or ']', so scans that
    // look for names or "]]>" step over whole characters. A UTF-8 document has no such pairs.
    size_t UnitLength(size_t i) const {
        if (pairedBytes_ && IsGbkLead(At(i)) && i + 1 < s_.size() && IsGbkTrail(At(i + 1))) return 2;
        return 1;
    }

    bool ParseName(std::string& out) {
        const size_t start = p_;
        if (AtEnd() || !IsNameStart(At(p_))) return Fail("name expected");
        while (!AtEnd() && IsNameChar(At(p_))) p_ += UnitLength(p_);
        p_ = std::min(p_, s_.size());
        out.assign(s_.substr(start, p_ - start));
        return true;
    }

    bool Expect(char c, const char* why) {
        if (AtEnd() || s_[p_] != c) return Fail(why);
        ++p_;
        return true;
    }

    bool ParseDeclaration() {
        p_ += 5;
        bool first = true;
        for (;;) {
            const size_t before = p_;
            SkipSpace();
            if (StartsWith("?>")) {
                p_ += 2;
                return first ? Fail("declaration without version") : true;
            }
            if (p_ == before) return Fail("malformed declaration");
            std::string name, value;
            if (!ParseName(name)) return false;
            SkipSpace();
            if (!Expect('=', "'=' expected in declaration")) return false;
            SkipSpace();
            if (!ParseQuoted(value, false)) return false;
            if (first && name != "version") return Fail("declaration without version");
            if (name == "encoding" && (EqualsNoCase(value, "utf-8") || EqualsNoCase(value, "utf8"))) pairedBytes_ = false;
            first = false;
        }
    }

    bool ParseComment() {
        const size_t end = s_.find("--", p_ + 4);
        if (end == std::string_view::npos) return Fail("unclosed comment");
        if (end + 2 >= s_.size() || s_[end + 2] != '>') return FailAt(end, "'--' inside a comment");
        p_ = end + 3;
        return true;
    }

    bool ParseInstruction() {
        p_ += 2;
        std::string target;
        if (!ParseName(target)) return false;
        if (EqualsNoCase(target, "xml")) return Fail("declaration not at the start");
        if (!AtEnd() && !IsSpace(At(p_)) && !StartsWith("?>")) return Fail("malformed processing instruction");
        const size_t end = s_.find("?>", p_);
        if (end == std::string_view::npos) return Fail("unclosed processing instruction");
        p_ = end + 2;
        return true;
    }

    // Skipped whole: the program declares no entities and validates nothing.
    bool ParseDoctype() {
        p_ += 9;
        int brackets = 0;
        while (!AtEnd()) {
            const char c = s_[p_];
            if (c == '"' || c == '\'') {
                const size_t close = s_.find(c, p_ + 1);
                if (close == std::string_view::npos) break;
                p_ = close + 1;
                continue;
            }
            ++p_;
            if (c == '[') ++brackets;
            else if (c == ']' && brackets > 0) --brackets;
            else if (c == '>' && brackets == 0) return true;
        }
        return Fail("unclosed document type");
    }

    // At '&': appends what the reference stands for.
    bool ParseReference(std::string& out) {
        const size_t start = p_;
        const size_t semi = s_.find(';', p_);
        if (semi == std::string_view::npos || semi - p_ > 12) return Fail("malformed reference");
        const std::string_view ref = s_.substr(p_ + 1, semi - p_ - 1);
        p_ = semi + 1;
        if (ref == "lt") out.push_back('<');
        else if (ref == "gt") out.push_back('>');
        else if (ref == "amp") out.push_back('&');
        else if (ref == "quot") out.push_back('"');
        else if (ref == "apos") out.push_back('\'');
        else if (ref.size() >= 2 && ref[0] == '#') {
            const bool hex = ref[1] == 'x';
            const std::string_view digits = ref.substr(hex ? 2 : 1);
            if (digits.empty()) return FailAt(start, "malformed character reference");
            uint32_t code = 0;
            for (char c : digits) {
                int d;
                if (c >= '0' && c <= '9') d = c - '0';
                else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
                else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
                else return FailAt(start, "malformed character reference");
                code = code * (hex ? 16 : 10) + static_cast<uint32_t>(d);
                if (code > 0x10FFFF) return FailAt(start, "character reference out of range");
            }
            const bool legal = code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
                               (code >= 0xE000 && code <= 0xFFFD) || code >= 0x10000;
            if (!legal) return FailAt(start, "character reference to a forbidden character");
            // Beyond ASCII we would need the document's code page to spell the character,
            // so such a reference stays as written; saving escapes its '&', and the value
            // reads back the same.
            if (code < 0x80) out.push_back(static_cast<char>(code));
            else out.append(s_.substr(start, p_ - start));
        } else {
            return FailAt(start, "unknown entity");
        }
        return true;
    }

    // Line ends become LF, as XML asks of every reader.
    void AppendNormalised(std::string& out, std::string_view text) {
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '\r') {
                out.push_back(text[i]);
            } else {
                out.push_back('\n');
                if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            }
        }
    }

    bool ParseQuoted(std::string& out, bool attribute) {
        if (AtEnd() || (s_[p_] != '"' && s_[p_] != '\'')) return Fail("quoted value expected");
        const char quote = s_[p_++];
        while (!AtEnd() && s_[p_] != quote) {
            const char c = s_[p_];
            if (c == '<') return Fail("'<' in a quoted value");
            if (c == '&' && attribute) {
                if (!ParseReference(out)) return false;
                continue;
            }
            if (attribute && IsSpace(static_cast<unsigned char>(c))) {
                out.push_back(' ');
                if (c == '\r' && p_ + 1 < s_.size() && s_[p_ + 1] == '\n') ++p_;
            } else {
                out.push_back(c);
            }
            ++p_;
        }
        return Expect(quote, "unclosed quoted value");
    }

    // After the element name: attributes up to '>' or "/>".
    bool ParseAttributes(uint32_t node, bool& selfClosing) {
        std::vector<Attribute> attributes;
        for (;;) {
            const size_t before = p_;
            SkipSpace();
            if (AtEnd()) return Fail("unclosed start tag");
            if (StartsWith("/>")) {
                p_ += 2;
                selfClosing = true;
                break;
            }
            if (s_[p_] == '>') {
                ++p_;
                selfClosing = false;
                break;
            }
            if (p_ == before) return Fail("space expected before an attribute");
            Attribute a;
            if (!ParseName(a.name)) return false;
            SkipSpace();
            if (!Expect('=', "'=' expected after an attribute name")) return false;
            SkipSpace();
            if (!ParseQuoted(a.value, true)) return false;
            attributes.push_back(std::move(a));
        }
        if (attributes.size() > 1) {
            std::vector<std::string_view> names;
            names.reserve(attributes.size());
            for (const Attribute& a : attributes) names.push_back(a.name);
            std::sort(names.begin(), names.end());
            if (std::adjacent_find(names.begin(), names.end()) != names.end()) return Fail("repeated attribute");
        }
        doc_.nodes_[node].attributes = std::move(attributes);
        return true;
    }

    bool ParseCharData(Open& open) {
        std::string& out = open.segment;
        while (!AtEnd() && s_[p_] != '<') {
            if (s_[p_] == '&') {
                // Blanks written as references are meant, never layout.
                if (!ParseReference(out)) return false;
                open.significant = true;
                continue;
            }
            size_t end = s_.find_first_of("<&", p_);
            if (end == std::string_view::npos) end = s_.size();
            AppendNormalised(out, s_.substr(p_, end - p_));
            p_ = end;
        }
        return true;
    }

    bool ParseCData(std::string& out) {
        p_ += 9;
        const size_t start = p_;
        while (!AtEnd()) {
            if (StartsWith("]]>")) {
                AppendNormalised(out, s_.substr(start, p_ - start));
                p_ += 3;
                return true;
            }
            p_ += UnitLength(p_);
        }
        return Fail("unclosed CDATA section");
    }

    // Blanks between child elements are layout, not text; an element without children
    // keeps whatever it holds.
    // Text ahead of a child ends in the line break and tabs that put the child on its line.
    void Flush(Open& open, bool childFollows) {
        XmlDocument::Node& node = doc_.nodes_[open.node];
        const bool layout = !open.significant && AllSpace(open.segment) && (childFollows || node.firstChild != kNone);
        if (!layout) {
            if (childFollows) {
                const size_t tabs = open.segment.find_last_not_of('\t');
                if (tabs != std::string::npos && open.segment[tabs] == '\n') open.segment.resize(tabs);
            }
            node.text += open.segment;
        }
        open.segment.clear();
        open.significant = false;
    }

    bool StartElement(std::vector<Open>& open) {
        ++p_;
        std::string name;
        if (!ParseName(name)) return false;
        if (open.size() >= XmlDocument::kMaxDepth) return Fail("elements nested too deeply");
        if (doc_.nodes_.size() >= kNone - 1) return Fail("too many elements");
        uint32_t parent = kNone;
        if (!open.empty()) {
            Flush(open.back(), true);
            parent = open.back().node;
        }
        const uint32_t node = doc_.AddNode(parent, std::move(name));
        bool selfClosing = false;
        if (!ParseAttributes(node, selfClosing)) return false;
        if (!selfClosing) open.push_back({node, {}, false});
        return true;
    }

    bool ParseElements() {
        std::vector<Open> open;
        if (!StartElement(open)) return false;
        while (!open.empty()) {
            if (AtEnd()) return Fail("unclosed element");
            if (s_[p_] != '<') {
                if (!ParseCharData(open.back())) return false;
            } else if (StartsWith("</")) {
                p_ += 2;
                std::string name;
                if (!ParseName(name)) return false;
                if (name != doc_.nodes_[open.back().node].name) return Fail("end tag does not match");
                SkipSpace();
                if (!Expect('>', "'>' expected")) return false;
                Flush(open.back(), false);
                open.pop_back();
            } else if (StartsWith("<!--")) {
                if (!ParseComment()) return false;
            } else if (StartsWith("<![CDATA[")) {
                if (!ParseCData(open.back().segment)) return false;
                open.back().significant = true;
            } else if (StartsWith("<?")) {
                if (!ParseInstruction()) return false;
            } else if (p_ + 1 < s_.size() && IsNameStart(At(p_ + 1))) {
                if (!StartElement(open)) return false;
            } else {
                return Fail("stray '<'");
            }
        }
        return true;
    }

    std::string_view s_;
    size_t p_ = 0;
    bool pairedBytes_ = true;
    XmlDocument& doc_;
};

bool XmlDocument::IsValidName(std::string_view name) {
    if (name.empty() || !IsNameStart(static_cast<unsigned char>(name[0]))) return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (IsGbkLead(c) && i + 1 < name.size() && IsGbkTrail(static_cast<unsigned char>(name[i + 1]))) {
            ++i;
            continue;
        }
        if (!IsNameChar(c)) return false;
    }
    return true;
}

void XmlDocument::Clear() {
    nodes_.clear();
    nodes_.shrink_to_fit();
    error_.clear();
}

bool XmlDocument::Load(const std::filesystem::path& file) {
    Clear();
    try {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            error_ = "cannot open the file";
            return false;
        }
        in.seekg(0, std::ios::end);
        const std::streamoff size = in.tellg();
        if (size < 0) {
            error_ = "cannot read the file";
            return false;
        }
        in.seekg(0, std::ios::beg);
        std::string data(static_cast<size_t>(size), '\0');
        if (!in.read(data.data(), size)) {
            error_ = "cannot read the file";
            return false;
        }
        return LoadBytes(data);
    } catch (const std::exception&) {
        // Out of memory on a huge file: it is no document the program can use.
        Clear();
        error_ = "file too large";
        return false;
    }
}

bool XmlDocument::LoadBytes(std::string_view data) {
    Clear();
    bool ok = false;
    try {
        ok = XmlParser(data, *this).Run();
    } catch (const std::bad_alloc&) {
        error_ = "out of memory";
    }
    if (!ok) nodes_.clear();
    return ok;
}

bool XmlDocument::Create(std::string_view rootName) {
    Clear();
    if (!IsValidName(rootName)) return false;
    AddNode(kNone, std::string(rootName));
    return true;
}

std::string XmlDocument::RootName() const { return nodes_.empty() ? std::string() : nodes_[0].name; }

uint32_t XmlDocument::AddNode(uint32_t parent, std::string name) {
    const auto index = static_cast<uint32_t>(nodes_.size());
    Node& node = nodes_.emplace_back();
    node.name = std::move(name);
    node.parent = parent;
    if (parent != kNone) {
        Node& p = nodes_[parent];
        if (p.lastChild == kNone) p.firstChild = index;
        else nodes_[p.lastChild].nextSibling = index;
        p.lastChild = index;
    }
    return index;
}

uint32_t XmlDocument::Resolve(std::string_view path) const {
    if (nodes_.empty()) return kNone;
    uint32_t at = kNone;
    size_t from = 0;
    for (;;) {
        const size_t slash = path.find('/', from);
        const std::string_view step = path.substr(from, slash == std::string_view::npos ? std::string_view::npos : slash - from);
        if (!step.empty()) {
            if (at == kNone) {
                if (step != nodes_[0].name && IndexStep(step) != 1) return kNone;
                at = 0;
            } else if (step[0] == '@') {
                uint32_t n = IndexStep(step);
                if (n == 0) return kNone;
                uint32_t child = nodes_[at].firstChild;
                while (child != kNone && --n > 0) child = nodes_[child].nextSibling;
                if (child == kNone) return kNone;
                at = child;
            } else {
                uint32_t child = nodes_[at].firstChild;
                while (child != kNone && nodes_[child].name != step) child = nodes_[child].nextSibling;
                if (child == kNone) return kNone;
                at = child;
            }
        }
        if (slash == std::string_view::npos) return at;
        from = slash + 1;
    }
}

int XmlDocument::ChildCount(std::string_view path) const {
    const uint32_t at = Resolve(path);
    if (at == kNone) return -1;
    int n = 0;
    for (uint32_t c = nodes_[at].firstChild; c != kNone; c = nodes_[c].nextSibling) ++n;
    return n;
}

std::vector<std::string> XmlDocument::ChildNames(std::string_view path) const {
    std::vector<std::string> names;
    const uint32_t at = Resolve(path);
    if (at == kNone) return names;
    for (uint32_t c = nodes_[at].firstChild; c != kNone; c = nodes_[c].nextSibling) names.push_back(nodes_[c].name);
    return names;
}

std::string XmlDocument::ReadText(std::string_view path, bool* found) const {
    const uint32_t at = Resolve(path);
    if (found) *found = at != kNone;
    return at == kNone ? std::string() : nodes_[at].text;
}

bool XmlDocument::WriteText(std::string_view path, std::string_view text) {
    const uint32_t at = Resolve(path);
    if (at == kNone) return false;
    nodes_[at].text = WithoutControls(text);
    return true;
}

bool XmlDocument::AppendElement(std::string_view parentPath, std::string_view name, std::string_view text) {
    const uint32_t parent = Resolve(parentPath);
    if (parent == kNone || !IsValidName(name) || nodes_.size() >= kNone - 1) return false;
    const uint32_t node = AddNode(parent, std::string(name));
    nodes_[node].text = WithoutControls(text);
    return true;
}

std::string XmlDocument::Serialize() const {
    std::string out(kDeclaration);
    if (nodes_.empty()) return out;

    struct Frame {
        uint32_t node;
        uint32_t nextChild;
        size_t level;
    };
    std::vector<Frame> stack;
    // Writes the start tag; returns whether the element stays open for its children.
    auto start = [&](uint32_t index, size_t level) {
        const Node& node = nodes_[index];
        out += "\r\n";
        out.append(level, '\t');
        out += '<';
        out += node.name;
        for (const Attribute& a : node.attributes) {
            out += ' ';
            out += a.name;
            out += "=\"";
            AppendEscaped(out, a.value, true);
            out += '"';
        }
        if (node.text.empty() && node.firstChild == kNone) {
            out += "/>";
            return;
        }
        out += '>';
        if (node.firstChild != kNone && AllSpace(node.text)) AppendBlanksAsReferences(out, node.text);
        else AppendEscaped(out, node.text, false);
        if (node.firstChild == kNone) {
            out += "</";
            out += node.name;
            out += '>';
            return;
        }
        stack.push_back({index, node.firstChild, level});
    };

    start(0, 0);
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.nextChild != kNone) {
            const uint32_t child = top.nextChild;
            const size_t level = top.level + 1;
            top.nextChild = nodes_[child].nextSibling;
            start(child, level);
        } else {
            out += "\r\n";
            out.append(top.level, '\t');
            out += "</";
            out += nodes_[top.node].name;
            out += '>';
            stack.pop_back();
        }
    }
    return out;
}

bool XmlDocument::Save(const std::filesystem::path& file) const {
    // A document without a root would not read back; never put one over a file.
    if (nodes_.empty()) return false;
    std::filesystem::path temp = file;
    temp += ".new";
    std::error_code ec;
    // Replacing by rename would go straight past a read-only file; whoever made it read-only
    // wants it kept.
    const std::filesystem::file_status status = std::filesystem::status(file, ec);
    if (std::filesystem::exists(status) &&
        (status.permissions() & std::filesystem::perms::owner_write) == std::filesystem::perms::none)
        return false;
    try {
        const std::string bytes = Serialize();
        {
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            if (!out) return false;
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            out.close();
            if (!out) {
                std::filesystem::remove(temp, ec);
                return false;
            }
        }
        std::filesystem::rename(temp, file, ec);
        if (ec) {
            std::error_code ignored;
            std::filesystem::remove(temp, ignored);
            return false;
        }
        return true;
    } catch (const std::exception&) {
        std::filesystem::remove(temp, ec);
        return false;
    }
}
