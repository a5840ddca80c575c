// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsFile.h"

#include "ParvelParams.h"
#include "TempHome.h"
#include "TestBinding.h"

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace
{
namespace fs = std::filesystem;

// Every test runs with the application-data folder in a fresh temporary home.
class SettingsFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(tempHome.Path().empty());
        home = tempHome.Path();
        ASSERT_EQ(home / ".config" / "wexo" / "parvelsettings.xml",
                  fs::path(SettingsFile::SettingsFilePath().getFullPathName().toStdString()));
    }

    fs::path Folder() const { return home / ".config" / "wexo"; }
    fs::path File() const { return Folder() / "parvelsettings.xml"; }

    void WriteFile(const std::string& bytes) const
    {
        fs::create_directories(Folder());
        std::ofstream(File(), std::ios::binary) << bytes;
    }

    std::string ReadFile() const
    {
        std::ifstream in(File(), std::ios::binary);
        return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
    }

    TempHome tempHome;
    fs::path home;
};

constexpr const char* kHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n";

// The DEFAULTS element of the factory values as the file holds it, at indentation 2. Attributes
// wrap before the one that follows once the attributes on a line exceed 60 characters;
// continuation lines are indented to just after "<DEFAULTS" (11 columns), then the attribute's
// separating blank.
const std::string kFactoryDefaultsElement =
    "  <DEFAULTS en_lo=\"0\" freq_lo=\"100.00000000000000000000\" q_lo=\"0.70699999999999996181\"\r\n"
    "            gain_lo=\"0.00000000000000000000\" en_lomid=\"0\" freq_lomid=\"750.00000000000000000000\"\r\n"
    "            q_lomid=\"0.70699999999999996181\" gain_lomid=\"0.00000000000000000000\"\r\n"
    "            en_himid=\"0\" freq_himid=\"3000.00000000000000000000\" q_himid=\"0.70699999999999996181\"\r\n"
    "            gain_himid=\"0.00000000000000000000\" en_hi=\"0\" freq_hi=\"10000.00000000000000000000\"\r\n"
    "            q_hi=\"0.70699999999999996181\" gain_hi=\"0.00000000000000000000\"\r\n"
    "            loshelf=\"0\" hishelf=\"0\" cuten_locut=\"0\" cutfreq_locut=\"20.00000000000000000000\"\r\n"
    "            cutorderlocut=\"0\" cuten_hicut=\"0\" cutfreq_hicut=\"20000.00000000000000000000\"\r\n"
    "            cutorderhicut=\"0\" gain=\"0.00000000000000000000\" showgain=\"0\"\r\n"
    "            showbgtext=\"1\" magrange=\"24.00000000000000000000\" showanalyser=\"0\"\r\n"
    "            annalyserpre=\"1\" analysertop=\"10.00000000000000000000\" analyserrange=\"60.00000000000000000000\"/>\r\n";

// Whether every field holds its factory value (compared through the file form, whose 20-digit
// numbers tell apart any two values that differ).
bool IsFactory(const EffectDefaults& d)
{
    return EffectDefaults::BuildDefaultsElement(d)->isEquivalentTo(
        EffectDefaults::BuildDefaultsElement(EffectDefaults {}).get(), false);
}

std::string Repeat(const std::string& s, int n)
{
    std::string r;
    for (int i = 0; i < n; ++i)
        r += s;
    return r;
}

std::string DefaultsFile(const std::string& rootOpenTag, const std::string& rootName = "PARVEL")
{
    return kHeader + rootOpenTag + "\r\n" + kFactoryDefaultsElement + "</" + rootName + ">\r\n";
}

// An effect with the 25 parameters of the table at chosen values.
struct TestEffect : ITestBinding
{
    TestEffect()
        : ITestBinding(kNumParvelParams, "1-1 2-2", 1, "Parvel", "", "wexo", 0x10505, 0, 0, 0, false, true, false)
    {
        for (const ParvelParamInfo& info : kParvelParams)
            Param(info.index)->DefineDouble(info.name, info.min, info.min, info.max, info.step, info.label, 1.0);
    }
};
} // namespace

TEST_F(SettingsFileTest, MissingFileGivesFactoryDefaultsAndSizeZero)
{
    const auto root = SettingsFile::LoadSettingsRoot();
    ASSERT_NE(nullptr, root);
    EXPECT_EQ("PARVEL", root->getTagName().toStdString());
    EXPECT_EQ(0, root->getNumAttributes());
    EXPECT_EQ(0, root->getNumChildElements());
    EXPECT_EQ(100.0, SettingsFile::LoadDefaults().freq[0]);
    EXPECT_EQ(0, SettingsFile::LoadDefaultSize());
    EXPECT_FALSE(fs::exists(Folder())) << "reading creates nothing";
}

// The fault mended here: without the "wexo" folder the two defaults commands used to store
// nothing. Every saving command creates it, and the file has the exact layout.
TEST_F(SettingsFileTest, SaveCurrentAsDefaultsCreatesTheFolderAndWritesTheExactFile)
{
    ASSERT_FALSE(fs::exists(Folder()));
    SettingsFile::SaveCurrentAsDefaults(EffectDefaults {});
    EXPECT_EQ(DefaultsFile("<PARVEL>"), ReadFile());
}

TEST_F(SettingsFileTest, ResetAndSizeCommandsCreateTheFolderToo)
{
    SettingsFile::ResetFactoryDefaults();
    EXPECT_EQ(std::string(kHeader) + "<PARVEL/>\r\n", ReadFile());

    fs::remove_all(Folder());
    SettingsFile::SaveDefaultSize(1);
    EXPECT_EQ(std::string(kHeader) + "<PARVEL size=\"1\"/>\r\n", ReadFile());
}

TEST_F(SettingsFileTest, SizeAndDefaultsLiveSideBySide)
{
    SettingsFile::SaveDefaultSize(2);
    SettingsFile::SaveCurrentAsDefaults(EffectDefaults {});
    EXPECT_EQ(DefaultsFile("<PARVEL size=\"2\">"), ReadFile());
    EXPECT_EQ(2, SettingsFile::LoadDefaultSize());

    SettingsFile::SaveDefaultSize(1); // replaces the attribute in place
    EXPECT_EQ(DefaultsFile("<PARVEL size=\"1\">"), ReadFile());

    SettingsFile::ResetFactoryDefaults(); // keeps the size
    EXPECT_EQ(std::string(kHeader) + "<PARVEL size=\"1\"/>\r\n", ReadFile());
    EXPECT_EQ(1, SettingsFile::LoadDefaultSize());
}

TEST_F(SettingsFileTest, DefaultSizeIsClamped)
{
    struct Case
    {
        const char* file;
        int size;
    };
    const Case cases[] = {
        { "<PARVEL size=\"2\"/>", 2 }, { "<PARVEL size=\"7\"/>", 2 },  { "<PARVEL size=\"-3\"/>", 0 },
        { "<PARVEL size=\"1.9\"/>", 1 }, { "<PARVEL size=\"abc\"/>", 0 }, { "<PARVEL/>", 0 },
        { "<OTHER size=\"1\"/>", 1 },
        // Integers beyond int: the largest negative one and wrap-arounds of 2^32 stay out of range.
        { "<PARVEL size=\"-2147483648\"/>", 0 }, { "<PARVEL size=\"4294967297\"/>", 2 },
        { "<PARVEL size=\"-4294967295\"/>", 0 },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.file);
        WriteFile(c.file);
        EXPECT_EQ(c.size, SettingsFile::LoadDefaultSize());
        EXPECT_TRUE(IsFactory(SettingsFile::LoadDefaults()));
    }
}

TEST_F(SettingsFileTest, OnlyFreqLoInTheFileChangesOnlyTheLowFrequency)
{
    WriteFile("<PARVEL><DEFAULTS freq_lo=\"250\"/></PARVEL>");
    EffectDefaults d = SettingsFile::LoadDefaults();
    EXPECT_EQ(250.0, d.freq[0]);
    EXPECT_FALSE(IsFactory(d));
    d.freq[0] = 100.0;
    EXPECT_TRUE(IsFactory(d)) << "every other field keeps its factory value";
}

TEST_F(SettingsFileTest, UnreadableFilesGiveAnEmptyRoot)
{
    const std::string valid = "<PARVEL size=\"2\"><DEFAULTS freq_lo=\"250\"/></PARVEL>";
    const std::string cases[] = {
        "",
        "not xml at all",
        valid.substr(0, 30),                                    // truncated inside DEFAULTS
        "<PARVEL size=\"2\"",                                   // truncated root tag
        "<PARVEL size=\"2\"/>junk",
        std::string("<PARVEL size=\"2\"/>\0junk", 23),         // a NUL byte
        "<PARVEL size=\"2\"/>\xC3",                             // a cut UTF-8 sequence at the end
        "<PARVEL a=\"\xE0\x80\x80\" size=\"2\"/>",             // an overlong form
        "<PARVEL size=\"2\" a=\"&#x",                           // an entity cut at the end
        "<!DOCTYPE P [<!ENTITY e \"<DEFAULTS freq_lo='250'/>\">]><PARVEL size=\"2\">&e;</PARVEL>",
        "<PARVEL size=\"2\">" + Repeat("<a/>", SettingsFile::kMaxTags) + "</PARVEL>",
        "<PARVEL size=\"2\">" + Repeat("<a>", 80000),          // deep nesting
        "<PARVEL size=\"2\"" + Repeat(" a=\"\"", SettingsFile::kMaxAttributes) + "/>",
        "<PARVEL size=\"2\" pad=\"" + std::string(SettingsFile::kMaxFileBytes, 'x') + "\"/>",
    };
    for (const std::string& bytes : cases)
    {
        SCOPED_TRACE("file of " + std::to_string(bytes.size()) + " bytes: " + bytes.substr(0, 60));
        WriteFile(bytes);
        const auto root = SettingsFile::LoadSettingsRoot();
        ASSERT_NE(nullptr, root);
        EXPECT_EQ("PARVEL", root->getTagName().toStdString());
        EXPECT_EQ(0, root->getNumAttributes());
        EXPECT_EQ(0, root->getNumChildElements());
        EXPECT_EQ(0, SettingsFile::LoadDefaultSize());
        EXPECT_TRUE(IsFactory(SettingsFile::LoadDefaults()));
    }
}

TEST_F(SettingsFileTest, TolerableDetailsStillRead)
{
    // A byte-order mark, comments, CR LF and CDATA are ordinary XML.
    WriteFile("\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<!-- mine -->\r\n<PARVEL size=\"1\"><![CDATA[x]]>"
              "<DEFAULTS freq_lo=\"250\" a=\"&amp;&#65;\"/></PARVEL>");
    EXPECT_EQ(1, SettingsFile::LoadDefaultSize());
    EXPECT_EQ(250.0, SettingsFile::LoadDefaults().freq[0]);

    // Well inside the reader's limits: many elements and attributes besides the defaults.
    WriteFile("<PARVEL size=\"2\"" + Repeat(" x=\"&amp;\"", SettingsFile::kMaxAttributes / 2) + ">"
              + Repeat("<a><b/></a>", SettingsFile::kMaxTags / 8) + "<DEFAULTS freq_lo=\"250\"/></PARVEL>");
    EXPECT_EQ(2, SettingsFile::LoadDefaultSize());
    EXPECT_EQ(250.0, SettingsFile::LoadDefaults().freq[0]);
}

TEST_F(SettingsFileTest, SavingTwiceKeepsOneDefaultsInPlaceOfTheFirst)
{
    auto childNames = [] {
        std::string names;
        const auto root = SettingsFile::LoadSettingsRoot();
        for (const auto* child : root->getChildIterator())
            names += child->getTagName().toStdString() + " ";
        return names;
    };

    WriteFile("<PARVEL><A/><DEFAULTS freq_lo=\"250\"/><B/></PARVEL>");
    EffectDefaults d;
    d.freq[1] = 800.0;
    SettingsFile::SaveCurrentAsDefaults(d);
    SettingsFile::SaveCurrentAsDefaults(d);
    EXPECT_EQ("A DEFAULTS B ", childNames());
    EXPECT_EQ(800.0, SettingsFile::LoadDefaults().freq[1]);
    EXPECT_EQ(100.0, SettingsFile::LoadDefaults().freq[0]);

    // Only the first of several is replaced; resetting removes them all and keeps the rest.
    WriteFile("<PARVEL><DEFAULTS freq_lo=\"250\"/><A/><DEFAULTS freq_lo=\"300\"/></PARVEL>");
    SettingsFile::SaveCurrentAsDefaults(d);
    EXPECT_EQ("DEFAULTS A DEFAULTS ", childNames());
    EXPECT_EQ(100.0, SettingsFile::LoadDefaults().freq[0]);
    SettingsFile::ResetFactoryDefaults();
    EXPECT_EQ("A ", childNames());
}

TEST_F(SettingsFileTest, EscapedTextSurvivesARewrite)
{
    // Character references the parser accepts, odd ones included, are written back escaped.
    WriteFile("<PARVEL size=\"1\" note=\"&lt;&amp;&#x7FFFFFFF;&#xD800;&#0;&#9;\"/>");
    SettingsFile::SaveCurrentAsDefaults(EffectDefaults {});
    const auto root = SettingsFile::LoadSettingsRoot();
    EXPECT_EQ(1, SettingsFile::ReadDefaultSize(root.get()));
    EXPECT_TRUE(root->getStringAttribute("note").startsWith("<&"));
    EXPECT_EQ(1, root->getNumChildElements());
}

TEST_F(SettingsFileTest, AForeignRootNameIsKept)
{
    WriteFile("<OTHER size=\"1\"/>");
    SettingsFile::SaveCurrentAsDefaults(EffectDefaults {});
    EXPECT_EQ(DefaultsFile("<OTHER size=\"1\">", "OTHER"), ReadFile());
}

TEST_F(SettingsFileTest, SavedEffectBecomesTheNextDefaults)
{
    TestEffect effect;
    for (const ParvelParamInfo& info : kParvelParams)
        effect.Param(info.index)->SetPlain(info.kind == ParamKind::Bool ? 1.0 : info.max - 2.0 * info.step);
    EditorOptionValues options;
    options.showGain = true;
    options.magRange = 12.0f;
    options.analyserInput = false;
    options.analyserTop = -10.0f;

    SettingsFile::SaveCurrentAsDefaults(effect, options);
    const EffectDefaults d = SettingsFile::LoadDefaults();
    EXPECT_TRUE(d.bandOn[3]);
    EXPECT_EQ(19998.0, d.freq[2]);
    EXPECT_EQ(11.98, d.q[0]);
    EXPECT_EQ(24.0 - 0.2, d.gain[1]);
    EXPECT_TRUE(d.loShelf);
    EXPECT_TRUE(d.cutOn[1]);
    EXPECT_EQ(5, d.cutOrder[0]);
    EXPECT_EQ(24.0 - 0.2, d.outputGain);
    EXPECT_TRUE(d.showGain);
    EXPECT_EQ(12.0f, d.magRange);
    EXPECT_FALSE(d.analyserPre);
    EXPECT_EQ(-10.0f, d.analyserTop);
}

TEST_F(SettingsFileTest, WriteFailuresLeaveTheOldFileAndReportNothing)
{
    // A plain file where the folder should be: nothing can be created or written.
    fs::create_directories(Folder().parent_path());
    std::ofstream(Folder()) << "in the way";
    SettingsFile::SaveCurrentAsDefaults(EffectDefaults {});
    SettingsFile::SaveDefaultSize(1);
    SettingsFile::ResetFactoryDefaults();
    EXPECT_FALSE(SettingsFile::SaveSettingsRoot(SettingsFile::LoadSettingsRoot().get()));
    EXPECT_TRUE(fs::is_regular_file(Folder()));

    // A folder where the file should be: it reads as missing and is not replaced.
    fs::remove(Folder());
    fs::create_directories(File() / "content");
    EXPECT_EQ(0, SettingsFile::LoadSettingsRoot()->getNumAttributes());
    SettingsFile::SaveDefaultSize(1);
    EXPECT_TRUE(fs::is_directory(File()));
    EXPECT_FALSE(SettingsFile::SaveSettingsRoot(nullptr));
}
