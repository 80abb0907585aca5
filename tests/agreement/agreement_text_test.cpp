// The agreement text as the rich edit receives it, parsed line by line.
#include <gtest/gtest.h>

#include <cwctype>
#include <string>
#include <vector>

#include "agreement_text.h"

namespace {

const std::wstring kIndent = L"    ";

std::vector<std::wstring> SplitLines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
}

// "1.", "12." or "A." at the start of a line body: the label, or empty when there is none.
std::wstring LabelOf(const std::wstring& body)
{
    const std::size_t dot = body.find(L'.');
    if (dot == std::wstring::npos || dot == 0)
        return {};
    const std::wstring label = body.substr(0, dot);
    bool digits = true;
    for (wchar_t c : label)
        digits = digits && c >= L'0' && c <= L'9';
    const bool letter = label.size() == 1 && label[0] >= L'A' && label[0] <= L'Z';
    return digits || letter ? label : std::wstring{};
}

std::string Narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

TEST(AgreementText, UsesCrlfOnlyAndEndsWithItsLastParagraph)
{
    const std::wstring text = BuildAgreementText();
    ASSERT_FALSE(text.empty());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r') {
            ASSERT_LT(i + 1, text.size()) << "carriage return at the very end";
            EXPECT_EQ(text[i + 1], L'\n') << "lone carriage return at " << i;
        } else if (text[i] == L'\n') {
            EXPECT_TRUE(i > 0 && text[i - 1] == L'\r') << "lone line feed at " << i;
        }
        EXPECT_NE(text[i], L'\t') << "tab at " << i;
    }
    EXPECT_FALSE(std::iswspace(text.back())) << "the text ends in white space or a line end";
    for (const std::wstring& line : SplitLines(text)) {
        if (!line.empty()) {
            EXPECT_FALSE(std::iswspace(line.back())) << "trailing blank: " << Narrow(line);
        }
    }
}

TEST(AgreementText, OpensWithTitleAndUnnumberedNotice)
{
    const std::vector<std::wstring> lines = SplitLines(BuildAgreementText());
    ASSERT_GE(lines.size(), 8u);
    // The start page's link names the agreement in book-title marks.
    const std::wstring link = L"《泽沃服务工具使用许可协议》";
    EXPECT_EQ(lines[0], link.substr(1, link.size() - 2));
    EXPECT_EQ(lines[0], kAgreementTitle);
    EXPECT_EQ(lines[1], L"");
    EXPECT_EQ(lines[2], L"重要须知");
    for (int i = 3; i <= 5; ++i) {
        SCOPED_TRACE(i);
        ASSERT_GT(lines[i].size(), kIndent.size());
        EXPECT_EQ(lines[i].substr(0, 4), kIndent);
        EXPECT_FALSE(std::iswspace(lines[i][4]));
        EXPECT_EQ(LabelOf(lines[i].substr(4)), L"") << "notice paragraphs carry no number";
    }
    EXPECT_EQ(lines[6], L"");
    EXPECT_EQ(lines[7], L"一. 知识产权声明");
}

struct ExpectedSection {
    const wchar_t* heading;
    std::vector<std::wstring> labels;
};

TEST(AgreementText, SectionsFollowInOrderWithTheirNumbering)
{
    const std::vector<ExpectedSection> expected = {
        {L"一. 知识产权声明", {L"1", L"2"}},
        {L"二. 软件授权范围", {L"1", L"2"}},
        {L"三. 用户使用须知",
         {L"1", L"A", L"B", L"C", L"D", L"E", L"F", L"G", L"2", L"3", L"4", L"5", L"6"}},
        {L"四. 隐私权保护",
         {L"1", L"2", L"3", L"A", L"B", L"C", L"4", L"A", L"B", L"C", L"D", L"E", L"5", L"A",
          L"B", L"C", L"D", L"6", L"7"}},
        {L"五. 法律责任与免责", {L"1", L"2", L"3", L"4", L"5", L"6", L"7"}},
        {L"六. 其他条款", {L"1", L"2"}},
    };
    const std::vector<std::wstring> lines = SplitLines(BuildAgreementText());
    std::size_t at = 7;
    for (std::size_t s = 0; s < expected.size(); ++s) {
        SCOPED_TRACE(Narrow(L"section " + std::to_wstring(s + 1)));
        ASSERT_LT(at, lines.size());
        EXPECT_EQ(lines[at++], expected[s].heading);
        std::vector<std::wstring> labels;
        while (at < lines.size() && !lines[at].empty()) {
            const std::wstring& line = lines[at++];
            ASSERT_EQ(line.substr(0, 4), kIndent) << Narrow(line);
            const std::wstring body = line.substr(4);
            const std::wstring label = LabelOf(body);
            ASSERT_FALSE(label.empty()) << "unnumbered line: " << Narrow(line);
            const std::wstring rest = body.substr(label.size() + 1);
            EXPECT_FALSE(rest.empty() || std::iswspace(rest[0])) << Narrow(line);
            labels.push_back(label);
        }
        EXPECT_EQ(labels, expected[s].labels);
        const bool last = s + 1 == expected.size();
        if (last) {
            EXPECT_EQ(at, lines.size()) << "lines after the last section";
        } else {
            ASSERT_LT(at, lines.size());
            EXPECT_EQ(lines[at++], L"") << "no empty line after the section";
        }
    }
}

TEST(AgreementText, NamesTheMakerAndWhatTheToolDoes)
{
    const std::wstring text = BuildAgreementText();
    const wchar_t* const required[] = {
        L"泽沃", L"Zorvex", L"https://kb.zorvex.com", L"sfc /scannow",
        L"DISM /Online /Cleanup-image /RestoreHealth", L"管理员", L"互联网", L"文件夹",
        L"编号", L"版本号", L"结果代码", L"时间戳",
    };
    for (const wchar_t* phrase : required)
        EXPECT_NE(text.find(phrase), std::wstring::npos) << Narrow(phrase);

    // Every section speaks in the maker's name.
    const std::vector<std::wstring> lines = SplitLines(text);
    int sections = 0;
    bool named = true;
    for (std::size_t i = 7; i <= lines.size(); ++i) {
        const bool boundary = i == lines.size() || lines[i].empty();
        if (boundary) {
            EXPECT_TRUE(named) << "section " << sections << " does not name the maker";
            ++sections;
            named = false;
        } else if (lines[i].find(L"泽沃") != std::wstring::npos) {
            named = true;
        }
    }
    EXPECT_EQ(sections, 6);
}

}  // namespace
