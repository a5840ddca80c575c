// SPDX-License-Identifier: GPL-3.0-or-later
#include "IStateChunk.h"
#include "Parvel.h"
#include "TempHome.h"
#include "XmlStateBlob.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace
{
// The state of a fresh instance at size 1, written out by hand: one line, the root's attributes
// in their order, 25 PARAM elements, numbers with 20 decimals, flags as integers.
const char kFreshStateXml[] =
    "<PARVEL guisize=\"1.50000000000000000000\" wdl=\"1\" version=\"66821\" showgain=\"0\" showbgtext=\"1\""
    " freqviewmagrange=\"24.00000000000000000000\" analyser=\"0\" analyserinput=\"1\""
    " analysertop=\"10.00000000000000000000\" analyserrange=\"60.00000000000000000000\">"
    "<PARAM id=\"Band_Low\" value=\"0.00000000000000000000\"/>"
    "<PARAM id=\"Freq_Low\" value=\"100.00000000000000000000\"/>"
    "<PARAM id=\"Q_Low\" value=\"0.70699999999999996181\"/>"
    "<PARAM id=\"Gain_Low\" value=\"0.00000000000000000000\"/>"
    "<PARAM id=\"Band_LoMid\" value=\"0.00000000000000000000\"/>"
    "<PARAM id=\"Freq_LoMid\" value=\"750.00000000000000000000\"/>"
    "<PARAM id=\"Q_LoMid\" value=\"0.70699999999999996181\"/>"
    "<PARAM id=\"Gain_LoMid\" value=\"0.00000000000000000000\"/>"
    "<PARAM id=\"Band_HiMid\" value=\"0.00000000000000000000\"/>"
    "<PARAM id=\"Freq_HiMid\" value=\"3000.00000000000000000000\"/>"
    "<PARAM id=\"Q_HiMid\" value=\"0.70699999999999996181\"/>"
    "<PARAM id=\"Gain_HiMid\" value=\"0.00000000000000000000\"/>"
    "<PARAM id=\"Band_High\" value=\"0.00000000000000000000\"/>"
    "<PARAM id=\"Freq_High\" value=\"10000.00000000000000000000\"/>"
    "<PARAM id=\"Q_High\" value=\"0.70699999999999996181\"/>"
    "<PARAM id=\"Gain_High\" value=\"0.00000000000000000000\"/>"
    "<PARAM id=\"LoShelf\" value=\"0.00000000000000000000\"/>"
    "<PARAM id=\"HiShelf\" value=\"0.00000000000000000000\"/>"
    "<PARAM id=\"Band_HP\" value=\"0.00000000000000000000\"/>"
    "<PARAM id=\"Freq_HP\" value=\"20.00000000000000000000\"/>"
    "<PARAM id=\"Order_HP\" value=\"0.00000000000000000000\"/>"
    "<PARAM id=\"Band_LP\" value=\"0.00000000000000000000\"/>"
    "<PARAM id=\"Freq_LP\" value=\"20000.00000000000000000000\"/>"
    "<PARAM id=\"Order_LP\" value=\"0.00000000000000000000\"/>"
    "<PARAM id=\"Gain\" value=\"0.00000000000000000000\"/>"
    "</PARVEL>";

// magic "VC2!", the little-endian length of the text, the text, a zero byte.
std::vector<uint8_t> Blob(const std::string& text, uint32_t lengthField)
{
    std::vector<uint8_t> b(8 + text.size() + 1, 0);
    const uint8_t header[8] = {'V', 'C', '2', '!', (uint8_t) lengthField, (uint8_t) (lengthField >> 8),
                               (uint8_t) (lengthField >> 16), (uint8_t) (lengthField >> 24)};
    std::memcpy(b.data(), header, sizeof(header));
    std::memcpy(b.data() + 8, text.data(), text.size());
    return b;
}
std::vector<uint8_t> Blob(const std::string& text) { return Blob(text, (uint32_t) text.size()); }

IStateChunk Chunk(const std::vector<uint8_t>& bytes)
{
    IStateChunk c;
    c.PutBytes(bytes.data(), (int) bytes.size());
    return c;
}

std::vector<uint8_t> Bytes(const IStateChunk& c) { return std::vector<uint8_t>(c.Data(), c.Data() + c.Size()); }

std::vector<uint8_t> Saved(Parvel& fx)
{
    IStateChunk c;
    EXPECT_TRUE(fx.SerializeEffectState(c));
    return Bytes(c);
}

// A state with the given root attributes and PARAM elements.
std::string State(const std::string& rootAttributes, const std::string& params)
{
    return "<PARVEL " + rootAttributes + ">" + params + "</PARVEL>";
}

std::string Param(const char* id, const char* value)
{
    return std::string("<PARAM id=\"") + id + "\" value=\"" + value + "\"/>";
}

class XmlStateBlobTest : public ::testing::Test
{
protected:
    // A non-default instance: every option and every parameter away from its factory value.
    static void Customise(Parvel& fx)
    {
        EditorOptions& o = fx.Options();
        o.sizeIndex = 2;
        o.showGain = true;
        o.showBgText = false;
        o.magRange = 12.0f;
        fx.SetAnalyserOn(true);
        o.analyserInput = false;
        o.analyserTop = -10.0f;
        o.analyserRange = 90.0f;
        for (int i = 0; i < kNumParvelParams; ++i)
        {
            IParamSpec* p = fx.Param(i);
            p->SetPlain(p->Kind() == ParamKind::Double ? p->Min() + (p->Max() - p->Min()) * 0.37 : p->Max());
        }
    }

    TempHome home;
};
} // namespace

TEST_F(XmlStateBlobTest, FreshInstanceAtSizeOneWritesTheExpectedBytes)
{
    Parvel fx;
    fx.Options().sizeIndex = 1;
    const std::vector<uint8_t> expected = Blob(kFreshStateXml);
    EXPECT_EQ(expected.size(), std::strlen(kFreshStateXml) + 9);
    const std::vector<uint8_t> written = Saved(fx);
    EXPECT_EQ(std::string(written.begin(), written.end()), std::string(expected.begin(), expected.end()));

    // Anything already in the chunk stays in front.
    IStateChunk c;
    IStateChunk::WriteChunkHeader(c);
    fx.SerializeEffectState(c);
    ASSERT_EQ(c.Size(), 8 + (int) expected.size());
    EXPECT_EQ(std::vector<uint8_t>(c.Data() + 8, c.Data() + c.Size()), expected);
}

TEST_F(XmlStateBlobTest, RestoringReproducesEveryParameterAndOption)
{
    Parvel source;
    Customise(source);
    const std::vector<uint8_t> saved = Saved(source);

    Parvel target;
    const IStateChunk chunk = Chunk(saved);
    EXPECT_EQ(target.UnserializeEffectState(chunk, 0), (int) saved.size());
    for (int i = 0; i < kNumParvelParams; ++i)
        EXPECT_EQ(target.Param(i)->Value(), source.Param(i)->Value()) << target.Param(i)->Name();
    const EditorOptions& o = target.Options();
    EXPECT_EQ(o.sizeIndex, 2);
    EXPECT_TRUE(o.showGain);
    EXPECT_FALSE(o.showBgText);
    EXPECT_EQ(o.magRange, 12.0f);
    EXPECT_TRUE(target.AnalyserOn());
    EXPECT_FALSE(o.analyserInput);
    EXPECT_EQ(o.analyserTop, -10.0f);
    EXPECT_EQ(o.analyserRange, 90.0f);
    EXPECT_EQ(Saved(target), saved);

    // The fresh state restored into a customised instance brings back the factory state.
    Parvel fresh;
    fresh.Options().sizeIndex = 1;
    const IStateChunk freshChunk = Chunk(Blob(kFreshStateXml));
    EXPECT_EQ(target.UnserializeEffectState(freshChunk, 0), freshChunk.Size());
    EXPECT_EQ(Saved(target), Saved(fresh));
}

TEST_F(XmlStateBlobTest, TrailingBytesAndLeadingHeadersAreHandled)
{
    Parvel source;
    Customise(source);
    std::vector<uint8_t> bytes = Saved(source);
    const std::vector<uint8_t> state = bytes;
    for (uint8_t b : {1, 0, 0, 0}) // the bypass value the VST3 binding appends
        bytes.push_back(b);

    Parvel target;
    EXPECT_EQ(target.UnserializeEffectState(Chunk(bytes), 0), (int) bytes.size());
    EXPECT_EQ(Saved(target), state);

    Parvel behindHeader;
    IStateChunk c;
    IStateChunk::WriteChunkHeader(c);
    c.PutBytes(state.data(), (int) state.size());
    EXPECT_EQ(behindHeader.UnserializeEffectState(c, 8), (int) state.size());
    EXPECT_EQ(Saved(behindHeader), state);
}

TEST_F(XmlStateBlobTest, StatesWithoutTheMarkerStoreTheLowShelfInverted)
{
    const struct
    {
        const char* wdl;
        const char* stored;
        double expected;
    } cases[] = {
        {"", "1", 0.0}, {"", "0", 1.0}, {"", "0.7", 0.0}, {"", "0.5", 1.0},
        {"wdl=\"1\"", "1", 1.0}, {"wdl=\"1\"", "0", 0.0}, {"wdl=\"0\"", "1", 0.0},
    };
    for (const auto& c : cases)
    {
        Parvel fx;
        const std::string text = State(c.wdl, Param("LoShelf", c.stored) + Param("HiShelf", "1"));
        fx.UnserializeEffectState(Chunk(Blob(text)), 0);
        EXPECT_EQ(fx.Param(kLoShelf)->Value(), c.expected) << text;
        EXPECT_EQ(fx.Param(kHiShelf)->Value(), 1.0) << "only LoShelf is inverted";
    }
}

TEST_F(XmlStateBlobTest, GuiSizeSelectsTheNearestSize)
{
    const struct
    {
        const char* attribute;
        int size;
    } cases[] = {
        {"guisize=\"1.3\"", 1}, {"guisize=\"1.8\"", 2}, {"guisize=\"1.2\"", 0}, {"", 0},
        {"guisize=\"1.5\"", 1}, {"guisize=\"7\"", 2},   {"guisize=\"-3\"", 0}, {"guisize=\"big\"", 0},
    };
    for (const auto& c : cases)
    {
        Parvel fx;
        fx.Options().sizeIndex = 1;
        fx.UnserializeEffectState(Chunk(Blob(State(std::string("wdl=\"1\" ") + c.attribute, ""))), 0);
        EXPECT_EQ(fx.Options().sizeIndex, c.size) << c.attribute;
    }
}

TEST_F(XmlStateBlobTest, ParamElementsAreMatchedByExactNameAndClamped)
{
    Parvel fx;
    const std::string params = Param("Freq_Lo", "300") + Param("freq_low", "400") + Param("Freq_Low", "50000")
                               + "<OTHER id=\"Gain\" value=\"5\"/>" + "<param id=\"HiShelf\" value=\"1\"/>" + "<PARAM id=\"Q_Low\"/>" + Param("Gain_LoMid", "3")
                               + Param("Gain_LoMid", "-4") + Param("Gain_High", "nan") + Param("Gain_HiMid", "abc")
                               + Param("Order_HP", "3.6") + "<PARAM value=\"1\"/>" + Param("Gain_Low", "2e40000000000")
                               + Param("Q_HiMid", "5e-0000040000000000") + Param("Freq_High", "1.5e3");
    fx.UnserializeEffectState(Chunk(Blob(State("wdl=\"1\"", params))), 0);
    EXPECT_EQ(fx.Param(kFreq_Low)->Value(), 20000.0) << "50000 is clamped, the misnamed elements are passed over";
    EXPECT_EQ(fx.Param(kQ_Low)->Value(), 0.707) << "an element without a value changes nothing";
    EXPECT_EQ(fx.Param(kGain)->Value(), 0.0) << "only PARAM elements count";
    EXPECT_EQ(fx.Param(kHiShelf)->Value(), 0.0) << "element names match exactly, letter case included";
    EXPECT_EQ(fx.Param(kGain_LoMid)->Value(), -4.0) << "the last of several elements wins";
    EXPECT_EQ(fx.Param(kGain_High)->Value(), 0.0) << "a NaN is passed over";
    EXPECT_EQ(fx.Param(kGain_HiMid)->Value(), 0.0) << "text without a number reads as 0";
    EXPECT_EQ(fx.Param(kOrder_HP)->Value(), 3.6) << "restored values are clamped, not rounded";
    EXPECT_EQ(fx.Param(kBand_Low)->Value(), 0.0);
    EXPECT_EQ(fx.Param(kGain_Low)->Value(), 24.0) << "an exponent beyond any double reads as infinity";
    EXPECT_EQ(fx.Param(kQ_HiMid)->Value(), 0.3) << "a vanishing exponent reads as zero";
    EXPECT_EQ(fx.Param(kFreq_High)->Value(), 1500.0);
}

TEST_F(XmlStateBlobTest, MissingAttributesKeepTheCurrentOptions)
{
    Parvel fx;
    fx.Options().showBgText = false;
    fx.Options().magRange = 6.0f;
    fx.Options().analyserTop = 20.0f;
    fx.SetAnalyserOn(true);
    fx.UnserializeEffectState(Chunk(Blob(State("wdl=\"1\" showgain=\"yes\" analyserrange=\"40\"", ""))), 0);
    const EditorOptions& o = fx.Options();
    EXPECT_TRUE(o.showGain);
    EXPECT_FALSE(o.showBgText);
    EXPECT_EQ(o.magRange, 6.0f);
    EXPECT_EQ(o.analyserTop, 20.0f);
    EXPECT_EQ(o.analyserRange, 40.0f);
    EXPECT_TRUE(fx.AnalyserOn());
    EXPECT_TRUE(o.analyserInput);
}

TEST_F(XmlStateBlobTest, DisplayOptionsStayUsable)
{
    const struct
    {
        const char* attributes;
        float magRange, top, range;
    } cases[] = {
        {"freqviewmagrange=\"10\" analysertop=\"15\" analyserrange=\"45\"", 10.0f, 15.0f, 45.0f},
        {"freqviewmagrange=\"0\" analysertop=\"-1e300\" analyserrange=\"-60\"", 1.0f, -200.0f, 1.0f},
        {"freqviewmagrange=\"1e39\" analysertop=\"inf\" analyserrange=\"nan\"", 200.0f, 10.0f, 60.0f},
    };
    for (const auto& c : cases)
    {
        Parvel fx;
        fx.UnserializeEffectState(Chunk(Blob(State(std::string("wdl=\"1\" ") + c.attributes, ""))), 0);
        EXPECT_EQ(fx.Options().magRange, c.magRange) << c.attributes;
        EXPECT_EQ(fx.Options().analyserTop, c.top) << c.attributes;
        EXPECT_EQ(fx.Options().analyserRange, c.range) << c.attributes;
    }
}

TEST_F(XmlStateBlobTest, DamagedOrForeignChunksChangeNothing)
{
    const std::string valid = State("guisize=\"2\" wdl=\"1\" showgain=\"1\"", Param("Freq_Low", "300"));
    std::vector<std::vector<uint8_t>> chunks = {
        {},
        {'V', 'C', '2', '!', 1, 0, 0},
        {'V', 'C', '2', '!', 1, 0, 0, 0},
        Blob(valid, 0),
        Blob(valid, 0x80000000u),
        Blob(valid, 0xffffffffu),
        Blob("this is not xml"),
        Blob("<PARVEL guisize=\"2\" wdl=\"1\""),
        Blob("<PARVEL guisize=\"2\" showgain=\"1\" "),
        Blob(valid.substr(0, valid.size() / 2)),
        Blob(valid.substr(0, valid.size() - 3)),
        Blob("<!DOCTYPE x [<!ENTITY a \"&a;\">]><PARVEL guisize=\"2\">&a;</PARVEL>"),
        Blob(std::string(100000, '<')),
        Blob("<PARVEL guisize=\"2\">\xff\xfe<PARAM id=\"Gain\" value=\"3\"/></PARVEL>"),
    };
    std::string deep = "<PARVEL guisize=\"2\">";
    for (int i = 0; i < 100000; ++i)
        deep += "<a>";
    chunks.push_back(Blob(deep));
    chunks.push_back(Blob(std::string((size_t) XmlStateBlob::kMaxTextBytes, ' ') + valid));
    std::vector<uint8_t> wrongMagic = Blob(valid);
    wrongMagic[0] = 'W';
    chunks.push_back(wrongMagic);
    std::vector<uint8_t> emptyText = Blob("");
    chunks.push_back(emptyText);

    Parvel fx;
    const std::vector<uint8_t> before = Saved(fx);
    for (size_t k = 0; k < chunks.size(); ++k)
    {
        const IStateChunk c = Chunk(chunks[k]);
        EXPECT_FALSE(XmlStateBlob::Read(c, 0).has_value()) << "chunk " << k;
        EXPECT_EQ(fx.UnserializeEffectState(c, 0), c.Size()) << "chunk " << k;
        EXPECT_EQ(Saved(fx), before) << "chunk " << k << " changed the effect";
    }
}

TEST_F(XmlStateBlobTest, LengthFieldLargerThanTheChunkReadsWhatIsThere)
{
    const std::string text = State("guisize=\"2\" wdl=\"1\"", Param("Freq_Low", "300"));
    for (uint32_t length : {(uint32_t) text.size() + 1, 1000000u, (uint32_t) INT_MAX})
    {
        Parvel fx;
        const IStateChunk c = Chunk(Blob(text, length));
        EXPECT_EQ(fx.UnserializeEffectState(c, 0), c.Size());
        EXPECT_EQ(fx.Param(kFreq_Low)->Value(), 300.0) << "length " << length;
        EXPECT_EQ(fx.Options().sizeIndex, 2);
    }
    // A shorter length field cuts the text: here inside the PARAM element, which is then broken.
    Parvel fx;
    const IStateChunk cut = Chunk(Blob(text, (uint32_t) text.size() - 20));
    fx.UnserializeEffectState(cut, 0);
    EXPECT_EQ(fx.Param(kFreq_Low)->Value(), 100.0);
}

TEST_F(XmlStateBlobTest, StartPositionsOutsideTheChunkAreRefused)
{
    Parvel fx;
    const std::vector<uint8_t> saved = Saved(fx);
    const IStateChunk c = Chunk(saved);
    EXPECT_EQ(fx.UnserializeEffectState(c, -1), -1);
    EXPECT_EQ(fx.UnserializeEffectState(c, INT_MIN), -1);
    EXPECT_EQ(fx.UnserializeEffectState(c, c.Size() + 1), -1);
    EXPECT_EQ(fx.UnserializeEffectState(c, c.Size()), 0) << "nothing from the end: an empty, unreadable state";
    EXPECT_EQ(fx.UnserializeEffectState(c, 3), c.Size() - 3);
    EXPECT_EQ(Saved(fx), saved);
}
