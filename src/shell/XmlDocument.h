#pragma once
// A small XML document kept whole in memory: the settings file and the version file from the
// server go through it. Texts and names are bytes in the document's own encoding (GBK for
// our files); the markup characters are ASCII and never a GBK trail byte, so nothing here
// needs to decode them.
//
// Elements are addressed by slash-separated paths: the first step is "@1" or the root's
// name, each further step a child's name (its first child of that name) or "@n" (its n-th
// child element, from 1). Empty steps are skipped, so "@1/Link1/" is "@1/Link1".
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class XmlDocument {
public:
    // Deeper documents are refused as malformed: nothing the program reads comes near this,
    // and it keeps a hostile file from costing memory by the gigabyte.
    static constexpr size_t kMaxDepth = 1000;

    // Parse a whole file or a whole buffer. On failure the document is empty and
    // ErrorText() says where and why.
    bool Load(const std::filesystem::path& file);
    bool LoadBytes(std::string_view data);

    // A new document holding only an empty root element. False for a name XML can't hold.
    bool Create(std::string_view rootName);

    bool Empty() const { return nodes_.empty(); }
    std::string RootName() const;

    // Number of child elements of the element at path; -1 when the path does not resolve.
    int ChildCount(std::string_view path) const;
    // Names of those children in document order; empty when the path does not resolve.
    std::vector<std::string> ChildNames(std::string_view path) const;

    // The element's text; empty with *found false when the path does not resolve.
    std::string ReadText(std::string_view path, bool* found = nullptr) const;
    // Replaces the text of an existing element.
    bool WriteText(std::string_view path, std::string_view text);
    // Adds a new last child under the element at parentPath.
    bool AppendElement(std::string_view parentPath, std::string_view name, std::string_view text);

    // The document in the layout of the program's files: gb18030 declaration, every start
    // tag on its own line after CR LF and one tab per level, empty elements as <name/>,
    // no line break after the root.
    std::string Serialize() const;
    // Writes Serialize() over the file. The bytes go to a sibling file first, which then
    // replaces the old one, so a failed write never leaves half a file behind.
    bool Save(const std::filesystem::path& file) const;

    const std::string& ErrorText() const { return error_; }

    static bool IsValidName(std::string_view name);

private:
    static constexpr uint32_t kNone = UINT32_MAX;

    struct Attribute {
        std::string name;
        std::string value;
    };
    // Nodes live in one array and link by index, so neither a deep document nor its
    // destruction ever recurses.
    struct Node {
        std::string name;
        std::string text;
        std::vector<Attribute> attributes;
        uint32_t parent = kNone;
        uint32_t firstChild = kNone;
        uint32_t lastChild = kNone;
        uint32_t nextSibling = kNone;
    };

    uint32_t Resolve(std::string_view path) const;
    uint32_t AddNode(uint32_t parent, std::string name);
    void Clear();

    std::vector<Node> nodes_;  // nodes_[0] is the root whenever the document is not empty
    std::string error_;

    friend class XmlParser;
};
