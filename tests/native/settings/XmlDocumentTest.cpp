#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "shell/XmlDocument.h"

namespace {

XmlDocument Parsed(std::string_view bytes) {
    XmlDocument doc;
    EXPECT_TRUE(doc.LoadBytes(bytes)) << doc.ErrorText() << "\n" << bytes;
    return doc;
}

// A version file of the kind the server sends: Doc's children carry the release notes.
constexpr char kVersionFile[] =
    "<?xml version=\"1.0\" encoding=\"gb18030\"?>\r\n<Root>\r\n\t<Ver>6.3</Ver>\r\n\t<Doc>\r\n"
    "\t\t<L1>first</L1>\r\n\t\t<L2>second</L2>\r\n\t\t<L1>again</L1>\r\n\t</Doc>\r\n"
    "\t<Link1>http://a/b</Link1>\r\n\t<Empty/>\r\n</Root>";

TEST(XmlPath, ResolvesNamesIndexesAndRejectsTheRest) {
    const XmlDocument doc = Parsed(kVersionFile);
    struct Case {
        const char* path;
        bool found;
        const char* text;
    } cases[] = {
        {"@1/Ver", true, "6.3"},
        {"Root/Ver", true, "6.3"},          // the root's own name as first step
        {"@1/@1", true, "6.3"},
        {"@1/@3", true, "http://a/b"},
        {"@1/Link1/", true, "http://a/b"},  // trailing slash as the version check writes it
        {"@1//Link1", true, "http://a/b"},
        {"@1/Doc/L1", true, "first"},       // the first of two same-named children
        {"@1/Doc/@3", true, "again"},
        {"@1/Doc", true, ""},               // layout blanks between children are no text
        {"@1/Empty", true, ""},
        {"@1", true, ""},
        {"@2/Ver", false, ""},
        {"@0", false, ""},
        {"Other/Ver", false, ""},
        {"Ver", false, ""},
        {"@1/@5", false, ""},
        {"@1/@0", false, ""},
        {"@1/@", false, ""},
        {"@1/@1x", false, ""},
        {"@1/@99999999999", false, ""},
        {"@1/ver", false, ""},
        {"@1/Ver/Deeper", false, ""},
        {"", false, ""},
        {"/", false, ""},
    };
    for (const Case& c : cases) {
        bool found = !c.found;
        EXPECT_EQ(doc.ReadText(c.path, &found), c.text) << c.path;
        EXPECT_EQ(found, c.found) << c.path;
    }
    EXPECT_EQ(doc.ChildCount("@1"), 4);
    EXPECT_EQ(doc.ChildCount("@1/Doc"), 3);
    EXPECT_EQ(doc.ChildCount("@1/Ver"), 0);
    EXPECT_EQ(doc.ChildCount("@1/Nothing"), -1);
    EXPECT_EQ(doc.ChildNames("@1/Doc"), (std::vector<std::string>{"L1", "L2", "L1"}));
    EXPECT_TRUE(doc.ChildNames("@1/Nothing").empty());
    EXPECT_EQ(doc.RootName(), "Root");
}

TEST(XmlDocument, ReadsBackItsOwnLayoutByteForByte) {
    const XmlDocument doc = Parsed(kVersionFile);
    EXPECT_EQ(doc.Serialize(), kVersionFile);
}

TEST(XmlDocument, WritesAndAppendsOnlyWhereThePathResolves) {
    XmlDocument doc;
    EXPECT_FALSE(doc.WriteText("@1", "x"));
    EXPECT_FALSE(doc.AppendElement("@1", "a", ""));
    EXPECT_EQ(doc.ChildCount("@1"), -1);

    ASSERT_TRUE(doc.Create("R"));
    EXPECT_EQ(doc.Serialize(), "<?xml version=\"1.0\" encoding=\"gb18030\"?>\r\n<R/>");
    EXPECT_TRUE(doc.AppendElement("@1", "a", "1"));
    EXPECT_TRUE(doc.AppendElement("R/a", "b", ""));
    EXPECT_FALSE(doc.AppendElement("@1/missing", "c", ""));
    for (const char* bad : {"", "1a", "a b", "a<b", "a/b", "a>", "-a", "a\"", "a&b"})
        EXPECT_FALSE(doc.AppendElement("@1", bad, "")) << bad;
    EXPECT_TRUE(doc.WriteText("@1/a/b", "deep"));
    EXPECT_FALSE(doc.WriteText("@1/b", "x"));
    EXPECT_EQ(doc.Serialize(),
              "<?xml version=\"1.0\" encoding=\"gb18030\"?>\r\n<R>\r\n\t<a>1\r\n\t\t<b>deep</b>\r\n\t</a>\r\n</R>");
    // An element with both text and children keeps both through a reload.
    EXPECT_EQ(Parsed(doc.Serialize()).ReadText("@1/a"), "1");
    ASSERT_TRUE(doc.WriteText("@1/a", "ends in a break\n"));
    EXPECT_EQ(Parsed(doc.Serialize()).ReadText("@1/a"), "ends in a break\n");
    EXPECT_FALSE(XmlDocument().Create("no good"));
}

TEST(XmlDocument, EveryTextReadsBackUnchanged) {
    const std::string texts[] = {
        "<&\">'",
        "a]]>b",
        "&amp;&#20013;",          // looks like references, must stay text
        " padded \t",
        "two\r\nlines\rand\nmore",
        "\xCA\xC2\x5D\x5D>",      // GBK characters whose trail bytes are ']'
        "\x81\x40\x81\x5C\xFE\xFE",
    };
    for (const std::string& text : texts) {
        XmlDocument doc;
        ASSERT_TRUE(doc.Create("R"));
        ASSERT_TRUE(doc.AppendElement("@1", "t", text));
        const XmlDocument back = Parsed(doc.Serialize());
        EXPECT_EQ(back.ReadText("@1/t"), text) << doc.Serialize();
    }
    // Control characters cannot be held by XML 1.0 at all, so they are dropped on the way in.
    XmlDocument doc;
    ASSERT_TRUE(doc.Create("R"));
    ASSERT_TRUE(doc.AppendElement("@1", "t", std::string("a\x01" "b\0c", 5)));
    EXPECT_EQ(doc.ReadText("@1/t"), "abc");
    EXPECT_EQ(Parsed(doc.Serialize()).ReadText("@1/t"), "abc");
}

TEST(XmlDocument, ReadsWhatOtherWritersProduce) {
    struct Case {
        const char* xml;
        const char* path;
        const char* text;
    } cases[] = {
        {"<r>x</r>", "@1", "x"},
        {"\xEF\xBB\xBF<?xml version='1.0' encoding='UTF-8'?><r>x</r>", "@1", "x"},
        {"<?xml version=\"1.0\"?>\n<!-- c --><!DOCTYPE r [<!ELEMENT r ANY>]><?pi x?><r/>\n<!-- after -->\n", "@1", ""},
        {"<r a=\"1\" b='&lt;&quot;'><c  x = \"y\" /></r >", "@1/c", ""},
        {"<r>&lt;&gt;&amp;&quot;&apos;&#65;&#x42;</r>", "@1", "<>&\"'AB"},
        {"<r>&#x4E2D;</r>", "@1", "&#x4E2D;"},
        {"<r><![CDATA[ <a>&amp; ]]></r>", "@1", " <a>&amp; "},
        {"<r><![CDATA[\xCA\x5D]>x]]></r>", "@1", "\xCA\x5D]>x"},  // "]>" after a GBK pair is no end
        {"<r>  </r>", "@1", "  "},
        {"<r>a<!-- c -->b<?p?>c</r>", "@1", "abc"},
        {"<r> <c/> </r>", "@1", ""},
        {"<r>\xD6\xD0<\xCA\xFD\xBE\xDD>\xCE\xC4</\xCA\xFD\xBE\xDD></r>", "@1/\xCA\xFD\xBE\xDD", "\xCE\xC4"},
        {"<r><\xCA\x5D/></r>", "@1/@1", ""},  // a Chinese name whose trail byte is ']'
    };
    for (const Case& c : cases) {
        XmlDocument doc = Parsed(c.xml);
        bool found = false;
        EXPECT_EQ(doc.ReadText(c.path, &found), c.text) << c.xml;
        EXPECT_TRUE(found) << c.xml;
    }
}

TEST(XmlDocument, RefusesWhatIsNotWellFormed) {
    const std::string cases[] = {
        "",
        "   \r\n",
        "just text",
        "<r>",
        "<r><a></r>",
        "<r></R>",
        "<r/><r/>",
        "<r/>tail",
        "text<r/>",
        "<r a=1/>",
        "<r a=\"1\"a=\"2\"/>",
        "<r a=\"1\" a=\"2\"/>",
        "<r a=\"<\"/>",
        "<r a=\"1/>",
        "<r>&unknown;</r>",
        "<r>&amp</r>",
        "<r>&#0;</r>",
        "<r>&#xD800;</r>",
        "<r>&#x110000;</r>",
        "<r>&#1;</r>",
        "<r>&#;</r>",
        "<r>a < b</r>",
        "<r><!-- a -- b --></r>",
        "<r><!-- open</r>",
        "<r><![CDATA[open</r>",
        "<r><?pi open</r>",
        "<r/><?xml version=\"1.0\"?>",
        "<?xml encoding=\"gbk\"?><r/>",
        "<?xml version=\"1.0\"?>",
        "<!DOCTYPE r><!DOCTYPE r><r/>",
        "<!DOCTYPE r [ <r/>",
        std::string("<r>a\0b</r>", 10),
        "<r>\x01</r>",
        "</r>",
        "<1r/>",
        "<r><1/></r>",
        "< r/>",
        "<r",
    };
    for (const std::string& xml : cases) {
        XmlDocument doc;
        EXPECT_FALSE(doc.LoadBytes(xml)) << xml;
        EXPECT_TRUE(doc.Empty()) << xml;
        EXPECT_FALSE(doc.ErrorText().empty()) << xml;
    }
}

TEST(XmlDocument, NestingStopsAtTheDepthLimitWithoutRecursion) {
    auto nested = [](size_t depth) {
        std::string s;
        for (size_t i = 0; i < depth; ++i) s += "<a>";
        for (size_t i = 0; i < depth; ++i) s += "</a>";
        return s;
    };
    XmlDocument doc;
    EXPECT_TRUE(doc.LoadBytes(nested(XmlDocument::kMaxDepth)));
    EXPECT_EQ(Parsed(doc.Serialize()).Serialize(), doc.Serialize());
    EXPECT_FALSE(doc.LoadBytes(nested(XmlDocument::kMaxDepth + 1)));
    EXPECT_FALSE(doc.LoadBytes(nested(2'000'000)));
}

class XmlFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("xmltest-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    static std::string Contents(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path dir_;
};

TEST_F(XmlFile, SavesOverTheFileAndLoadsItBack) {
    const std::filesystem::path file = dir_ / "data.xml";
    XmlDocument doc;
    EXPECT_FALSE(doc.Load(file));
    EXPECT_FALSE(doc.Save(file));  // an empty document never replaces a file

    { std::ofstream(file, std::ios::binary) << "<old>much longer content than the new one</old>"; }
    ASSERT_TRUE(doc.Create("R"));
    ASSERT_TRUE(doc.AppendElement("@1", "a", "<1>"));
    ASSERT_TRUE(doc.Save(file));
    EXPECT_EQ(Contents(file), doc.Serialize());
    XmlDocument back;
    ASSERT_TRUE(back.Load(file)) << back.ErrorText();
    EXPECT_EQ(back.ReadText("@1/a"), "<1>");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), std::filesystem::directory_iterator()), 1);
}

TEST_F(XmlFile, AFailedSaveLeavesNothingBehind) {
    XmlDocument doc;
    ASSERT_TRUE(doc.Create("R"));
    std::filesystem::create_directory(dir_ / "taken");
    EXPECT_FALSE(doc.Save(dir_ / "taken"));
    EXPECT_FALSE(doc.Save(dir_ / "no" / "such" / "folder.xml"));
    EXPECT_TRUE(std::filesystem::is_directory(dir_ / "taken"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), std::filesystem::directory_iterator()), 1);
    EXPECT_FALSE(doc.Load(dir_ / "taken"));

    const std::filesystem::path locked = dir_ / "locked.xml";
    { std::ofstream(locked, std::ios::binary) << "<kept/>"; }
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read);
    EXPECT_FALSE(doc.Save(locked));
    EXPECT_EQ(Contents(locked), "<kept/>");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), std::filesystem::directory_iterator()), 2);
}

}  // namespace
