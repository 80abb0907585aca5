#include "agreement_text.h"

#include <initializer_list>
#include <iterator>

namespace {

constexpr wchar_t kLineEnd[] = L"\r\n";
constexpr wchar_t kIndent[] = L"    ";

// A numbered paragraph, or a lettered sub-item of the paragraph before it.
struct AgreementLine {
    bool subItem;
    const wchar_t* text;
};

struct AgreementSection {
    const wchar_t* heading;
    std::initializer_list<AgreementLine> lines;
};

constexpr bool kParagraph = false;
constexpr bool kSubItem = true;

const wchar_t* const kNoticeHeading = L"重要须知";

const wchar_t* const kNotice[] = {
    L"泽沃（Zorvex）在此提醒您：在使用泽沃系统文件修复工具（以下简称“本工具”）之前，请仔细阅读"
    L"《泽沃服务工具使用许可协议》（以下简称“本协议”）的全部内容，特别是免除或限制泽沃责任的条款。",
    L"本工具由泽沃免费提供。它调用Windows自带的系统文件检查器（sfc）和部署映像服务和管理工具"
    L"（DISM）检查并修复受损的系统文件，运行时需要管理员权限，联机修复需要连接互联网。本工具的主窗口"
    L"关闭后，它会删除自己所在的文件夹。",
    L"您勾选“同意”并点击“开始运行”，即表示您已阅读、理解并接受本协议的全部条款。如果您不同意本协议"
    L"的任何内容，请关闭本工具，不要使用。",
};

const AgreementSection kSections[] = {
    {L"一. 知识产权声明",
     {
         {kParagraph,
          L"本工具的著作权、商标权及其他知识产权归泽沃所有，受中华人民共和国著作权法及相关法律和国际条约"
          L"的保护。本工具中的图片、界面设计和文字同样归泽沃所有。"},
         {kParagraph,
          L"sfc和DISM是微软公司Windows操作系统的组成部分，其知识产权归微软公司所有。本工具只是启动您电脑"
          L"上已有的这两个程序，并不包含、修改或分发它们。"},
     }},
    {L"二. 软件授权范围",
     {
         {kParagraph,
          L"泽沃授予您一项个人的、免费的、不可转让的非独占许可：您可以在您拥有或有权管理的Windows电脑上"
          L"使用本工具。"},
         {kParagraph,
          L"未经泽沃书面许可，您不得出租、出售或收费分发本工具，不得对本工具进行反向工程、反向编译或反"
          L"汇编，不得修改本工具，也不得将本工具与其他软件捆绑分发。"},
     }},
    {L"三. 用户使用须知",
     {
         {kParagraph, L"本工具的工作方式和使用条件如下："},
         {kSubItem,
          L"本工具先运行Windows自带的“sfc /scannow”进行本地修复，再运行“DISM /Online "
          L"/Cleanup-image /RestoreHealth”进行联机修复。修复工作全部由这两个系统程序完成，本工具不会"
          L"自行替换任何系统文件。"},
         {kSubItem,
          L"本工具需要以管理员身份运行。启动时Windows会显示用户账户控制的提示，请确认后再继续。"},
         {kSubItem,
          L"联机修复需要连接互联网。开始联机修复之前，本工具会向一个公共网站发送ping请求，以检查网络"
          L"是否可用；网络不可用时不进行联机修复。"},
         {kSubItem,
          L"联机修复时，DISM会从微软的服务器下载修复所需的文件，会产生一定的网络流量，所需时间取决于您的"
          L"网络状况。"},
         {kSubItem,
          L"修复可能需要几分钟到一个小时以上。在此期间请不要关闭本工具，也不要关闭电脑或让电脑进入睡眠"
          L"状态。"},
         {kSubItem,
          L"修复结束或本工具关闭时，本工具会结束电脑上所有正在运行的sfc和DISM进程，包括并非由本工具启动"
          L"的进程。"},
         {kSubItem,
          L"本工具的主窗口关闭后，本工具会删除自己所在的整个文件夹及其中的全部文件。请把本工具单独放在"
          L"一个文件夹中运行，不要放在桌面、“下载”等存有其他文件的文件夹中。"},
         {kParagraph,
          L"本工具只检查和修复Windows系统文件，不能修复硬件故障、病毒造成的破坏、第三方软件的问题或您的"
          L"个人数据，也不能保证每次修复都能成功。"},
         {kParagraph,
          L"建议您在修复前保存正在编辑的文件并关闭其他程序。修复完成后，Windows可能需要重新启动电脑才能"
          L"完成修复。"},
         {kParagraph,
          L"本工具启动时会向泽沃的反馈服务查询是否有新版本。如有新版本，本工具会提示您，打开泽沃的下载"
          L"页面，然后退出；请下载最新版本后再使用。"},
         {kParagraph,
          L"修复未能成功时，本工具可能在浏览器中打开泽沃知识库（https://kb.zorvex.com）中的相关文章，"
          L"帮助您进一步解决问题。"},
         {kParagraph,
          L"您应当合法使用本工具，不得利用本工具从事违反法律法规或损害他人权益的活动。"},
     }},
    {L"四. 隐私权保护",
     {
         {kParagraph,
          L"泽沃重视您的隐私。使用本工具无需注册账号，本工具不收集您的姓名、联系方式、文件内容或浏览记录。"},
         {kParagraph,
          L"sfc和DISM在运行时输出的内容只在本工具内部用于显示进度和判断修复结果，既不写入日志，也不发送"
          L"给泽沃。本工具不在您的电脑上保存任何设置。"},
         {kParagraph, L"本工具只在以下情况下使用网络："},
         {kSubItem, L"启动时向泽沃的反馈服务查询是否有新版本，查询时发送本工具的编号和版本号；"},
         {kSubItem, L"检查网络是否可用时，向一个公共网站发送ping请求；"},
         {kSubItem, L"联机修复时，由Windows自带的DISM连接微软的服务器下载修复文件。"},
         {kParagraph, L"本工具向泽沃的反馈服务发送的反馈记录只包含以下内容："},
         {kSubItem, L"本工具的编号；"},
         {kSubItem, L"本工具的版本号；"},
         {kSubItem, L"结果代码：1表示问题已解决，2表示问题未解决，3表示您没有作答；"},
         {kSubItem, L"发送时的时间戳；"},
         {kSubItem,
          L"除以上四项外，反馈记录不包含其他任何信息，例如您的姓名、账号、电脑名称、文件或sfc和DISM的"
          L"输出内容。"},
         {kParagraph, L"反馈记录只在以下时机发送："},
         {kSubItem, L"修复成功结束后，自动发送一条“问题已解决”的记录；"},
         {kSubItem, L"您在询问问题是否解决的窗口中点击“解决”或“未解决”时；"},
         {kSubItem, L"您没有作答就关闭该窗口时；"},
         {kSubItem,
          L"您作答之后，或点击主窗口中的反馈链接时，本工具会在浏览器中打开泽沃的问题反馈页面，并告知该"
          L"页面本工具的编号和版本号；是否在页面中填写内容，由您自己决定。"},
         {kParagraph,
          L"泽沃只将收到的反馈记录用于统计本工具的修复效果和改进产品，不会出售或提供给第三方，法律法规另有"
          L"规定的除外。"},
         {kParagraph,
          L"如您对隐私保护有任何疑问，请通过泽沃知识库（https://kb.zorvex.com）联系泽沃。"},
     }},
    {L"五. 法律责任与免责",
     {
         {kParagraph,
          L"本工具按现状免费提供。在法律允许的范围内，泽沃不对本工具作任何明示或默示的担保，包括但不限于"
          L"适销性、适用于特定用途以及修复必定成功的担保。"},
         {kParagraph,
          L"系统文件由Windows自带的sfc和DISM修复，修复结果取决于您电脑的系统状态、Windows组件存储的完整"
          L"程度和网络状况，泽沃无法保证修复结果。"},
         {kParagraph,
          L"因断电、强行关机、其他软件干扰等原因使修复中断而造成的损失，泽沃不承担责任。"},
         {kParagraph,
          L"本工具关闭后会删除自己所在的文件夹（见第三条第1款G项）。因您将本工具放在存有其他文件的文件夹"
          L"中运行而造成的文件丢失，泽沃不承担责任。"},
         {kParagraph, L"因您违反本协议或违法使用本工具而产生的后果，由您自行承担。"},
         {kParagraph,
          L"在法律允许的最大范围内，泽沃对因使用或无法使用本工具而造成的任何间接损失，包括数据丢失和业务"
          L"中断，不承担责任。"},
         {kParagraph,
          L"请只从泽沃的官方渠道获取本工具。对于从其他来源获得、被篡改或捆绑了其他程序的版本，泽沃不提供"
          L"支持，也不承担由此产生的责任。"},
     }},
    {L"六. 其他条款",
     {
         {kParagraph,
          L"泽沃可能根据需要修改本协议，修改后的协议随新版本的本工具一同发布。您使用新版本，即表示您接受"
          L"修改后的协议。"},
         {kParagraph,
          L"本协议的订立、效力、解释和争议解决均适用中华人民共和国法律。本协议的任何条款被认定无效时，不影响"
          L"其他条款的效力。如您对本协议有任何疑问，请访问泽沃知识库：https://kb.zorvex.com。"},
     }},
};

void AppendLine(std::wstring& text, const wchar_t* line)
{
    text += line;
    text += kLineEnd;
}

// Paragraphs count 1, 2, ...; the sub-items of each paragraph count A, B, ... afresh.
void AppendSection(std::wstring& text, const AgreementSection& section)
{
    AppendLine(text, section.heading);
    int paragraph = 0;
    wchar_t letter = L'A';
    for (const AgreementLine& line : section.lines) {
        text += kIndent;
        if (line.subItem) {
            text += letter++;
        } else {
            text += std::to_wstring(++paragraph);
            letter = L'A';
        }
        text += L'.';
        AppendLine(text, line.text);
    }
}

}  // namespace

std::wstring BuildAgreementText()
{
    std::wstring text;
    AppendLine(text, kAgreementTitle);
    text += kLineEnd;
    AppendLine(text, kNoticeHeading);
    for (const wchar_t* notice : kNotice) {
        text += kIndent;
        AppendLine(text, notice);
    }
    text += kLineEnd;
    const auto sectionCount = std::size(kSections);
    for (std::size_t i = 0; i < sectionCount; ++i) {
        AppendSection(text, kSections[i]);
        if (i + 1 < sectionCount)
            text += kLineEnd;
    }
    // The last paragraph ends the text without a line end of its own.
    text.resize(text.size() - (std::size(kLineEnd) - 1));
    return text;
}
