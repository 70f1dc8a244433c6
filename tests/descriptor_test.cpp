#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "descriptor.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::vector<std::string> textsOf(const TextList& list)
{
    return std::vector<std::string>(list.texts, list.texts + list.count);
}

bool isUpperHex(const std::string& text)
{
    return text.find_first_not_of("0123456789ABCDEF") == std::string::npos;
}

Bytes decodeHex(const std::string& hex)
{
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

// One DER element: its tag and the bytes of its content.
struct Element {
    uint8_t tag;
    Bytes content;
};

// Reads the element at `pos` and moves `pos` past it; fails the test on a
// malformed length rather than reading past the end.
Element readElement(const Bytes& der, std::size_t& pos)
{
    Element element{0, {}};
    if (pos + 2 > der.size()) {
        ADD_FAILURE() << "truncated element at " << pos;
        pos = der.size();
        return element;
    }
    element.tag = der[pos++];
    std::size_t length = der[pos++];
    if ((length & 0x80U) != 0) {
        const std::size_t lengthBytes = length & 0x7FU;
        length = 0;
        for (std::size_t i = 0; i < lengthBytes && pos < der.size(); ++i) {
            length = (length << 8U) | der[pos++];
        }
    }
    if (pos + length > der.size()) {
        ADD_FAILURE() << "element at " << pos << " runs past the end";
        pos = der.size();
        return element;
    }
    element.content.assign(der.begin() + static_cast<std::ptrdiff_t>(pos),
                           der.begin() + static_cast<std::ptrdiff_t>(pos + length));
    pos += length;
    return element;
}

TEST(Descriptor, PublicKeyIsA1024BitRsaSubjectPublicKeyInfo)
{
    const std::string hex = componentDescriptor.componentPublicKeyHex;
    ASSERT_EQ(hex.size(), 320U);
    ASSERT_TRUE(isUpperHex(hex));
    const Bytes der = decodeHex(hex);

    std::size_t pos = 0;
    const Element info = readElement(der, pos);
    EXPECT_EQ(info.tag, 0x30);  // SEQUENCE
    EXPECT_EQ(pos, der.size()) << "bytes after the key";

    pos = 0;
    const Element algorithm = readElement(info.content, pos);
    const Element bitString = readElement(info.content, pos);
    EXPECT_EQ(pos, info.content.size());
    ASSERT_EQ(algorithm.tag, 0x30);
    ASSERT_EQ(bitString.tag, 0x03);

    std::size_t apos = 0;
    const Element oid = readElement(algorithm.content, apos);
    const Element parameters = readElement(algorithm.content, apos);
    EXPECT_EQ(oid.tag, 0x06);
    EXPECT_EQ(oid.content, (Bytes{0x2A, 0x86, 0x48, 0x86, 0xF7, 0x0D, 0x01, 0x01, 0x01}))
        << "not rsaEncryption";
    EXPECT_EQ(parameters.tag, 0x05);  // NULL
    EXPECT_TRUE(parameters.content.empty());

    ASSERT_FALSE(bitString.content.empty());
    EXPECT_EQ(bitString.content[0], 0) << "unused bits in the key's bit string";
    const Bytes rsaKey(bitString.content.begin() + 1, bitString.content.end());
    pos = 0;
    const Element sequence = readElement(rsaKey, pos);
    ASSERT_EQ(sequence.tag, 0x30);
    std::size_t kpos = 0;
    const Element modulus = readElement(sequence.content, kpos);
    const Element exponent = readElement(sequence.content, kpos);
    EXPECT_EQ(kpos, sequence.content.size());

    ASSERT_EQ(modulus.tag, 0x02);
    ASSERT_EQ(modulus.content.size(), 129U) << "a positive 1024-bit integer takes 129 bytes";
    EXPECT_EQ(modulus.content[0], 0x00);
    EXPECT_NE(modulus.content[1] & 0x80U, 0U) << "modulus shorter than 1024 bits";
    EXPECT_EQ(modulus.content[128] & 1U, 1U) << "an RSA modulus is odd";

    ASSERT_EQ(exponent.tag, 0x02);
    EXPECT_EQ(exponent.content, Bytes{17});
}

TEST(Descriptor, KeyTextsAndNamesHaveTheirFixedForms)
{
    const std::string key = componentDescriptor.componentKeyHex;
    EXPECT_EQ(key.size(), 256U);
    EXPECT_TRUE(isUpperHex(key));
    EXPECT_STREQ(componentDescriptor.componentName, "zembraTolvique");
    EXPECT_STREQ(componentDescriptor.mainFunctionName, "zembratolvique");
    EXPECT_NE(componentDescriptor.componentName, componentDescriptor.mainFunctionName);
    EXPECT_STREQ(componentDescriptor.componentExtraText, "");
}

TEST(Descriptor, SearchPathHoldsThe35FoldersInOrder)
{
    std::vector<std::string> expected = {"zembraTolvique/", "toolbox/compiler/deploy/"};
    expected.emplace_back(componentDescriptor.componentSearchPath.texts[2]);
    expected.emplace_back(componentDescriptor.componentSearchPath.texts[3]);
    for (const char* folder :
         {"general",   "ops",       "lang",    "elmat",     "elfun",     "specfun", "matfun",
          "datafun",   "polyfun",   "funfun",  "sparfun",   "scribe",    "graph2d", "graph3d",
          "specgraph", "graphics",  "uitools", "strfun",    "imagesci",  "iofun",   "audiovideo",
          "timefun",   "datatypes", "verctrl", "codetools", "helptools", "winfun",  "demos"}) {
        expected.push_back(std::string("$TOOLBOXMATLABDIR/") + folder + "/");
    }
    expected.insert(expected.end(),
                    {"toolbox/local/", "toolbox/compiler/", "toolbox/database/database/"});

    EXPECT_EQ(textsOf(componentDescriptor.componentSearchPath), expected);
}

TEST(Descriptor, AuthorFoldersAreRelativeSlashSeparatedFolders)
{
    for (int row : {2, 3}) {
        const std::string folder = componentDescriptor.componentSearchPath.texts[row];
        SCOPED_TRACE(folder);
        ASSERT_GT(folder.size(), 1U);
        EXPECT_NE(folder.front(), '/');
        EXPECT_EQ(folder.back(), '/');
        EXPECT_EQ(folder.find('\\'), std::string::npos);
        EXPECT_EQ(folder.find(':'), std::string::npos);
        EXPECT_EQ(folder.find("//"), std::string::npos);
    }
}

TEST(Descriptor, ListsWithoutEntriesStillHoldOneEmptyText)
{
    EXPECT_EQ(textsOf(componentDescriptor.componentClassPath),
              std::vector<std::string>{"java/jar/toolbox/database.jar"});
    for (const TextList* list :
         {&componentDescriptor.componentExtraList, &componentDescriptor.applicationOptions}) {
        EXPECT_EQ(list->count, 0);
        ASSERT_NE(list->texts, nullptr);
        EXPECT_STREQ(list->texts[0], "");
    }
}

}  // namespace
