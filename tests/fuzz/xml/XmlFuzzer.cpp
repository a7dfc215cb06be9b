// Any bytes: the parser neither crashes nor hangs, and whatever it accepts comes out of a
// save and a reload as the same document.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "shell/SettingsModel.h"
#include "shell/XmlDocument.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

// Walks the whole tree by "@n" paths and compares every text with the reloaded copy.
void SameTree(const XmlDocument& a, const XmlDocument& b, std::string& path, size_t depth) {
    Check(a.ReadText(path) == b.ReadText(path));
    const std::vector<std::string> names = a.ChildNames(path);
    Check(names == b.ChildNames(path));
    Check(static_cast<int>(names.size()) == a.ChildCount(path));
    if (depth > 50) return;
    for (size_t i = 0; i < names.size() && i < 50; ++i) {
        const size_t keep = path.size();
        path += "/@" + std::to_string(i + 1);
        SameTree(a, b, path, depth + 1);
        path.resize(keep);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    XmlDocument doc;
    if (doc.LoadBytes(bytes)) {
        const std::string saved = doc.Serialize();
        XmlDocument back;
        Check(back.LoadBytes(saved));
        Check(back.Serialize() == saved);
        std::string path = "@1";
        SameTree(doc, back, path, 0);
        if (settings::HasSettingsShape(doc)) settings::ReadValues(doc);
    } else {
        Check(doc.Empty());
    }

    // The same bytes as a path and as a text written into the settings document.
    XmlDocument defaults = settings::DefaultDocument();
    bool found = false;
    defaults.ReadText(bytes, &found);
    if (defaults.WriteText("@1/Font/Font3", bytes)) {
        XmlDocument back;
        Check(back.LoadBytes(defaults.Serialize()));
        Check(settings::HasSettingsShape(back));
        Check(back.ReadText("@1/Font/Font3") == defaults.ReadText("@1/Font/Font3"));
    }
    return 0;
}
