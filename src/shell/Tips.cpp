#include "shell/Tips.h"

namespace {
// Shown exactly as written, spaces included.
constexpr std::u16string_view kTips[kTipCount] = {
    u"小技巧： Ctrl+鼠标滚轮可以快速缩放文字显示大小（不改变实际字号）",
    u"小技巧： 您有什么建议和BUG反馈，可以直接通过软件反馈建议窗口发送给我们。",
    u"小技巧： 关注我们的微博 @Tandrel打字团队 ，每周分享录音整理技巧。",
    u"Tandrel专业打字团队还提供收费人工整理录音服务，详情点击【服务介绍】按钮。",
    u"小技巧：amr格式暂时不支持，但是可以到 Tandrel官网下载 amr转mp3工具转换。",
    u"小技巧： 常用快捷键  字号: (增) Alt+↑ (减) Alt+↓ ",
    u"小技巧： 常用快捷键  插入时间标记(当前秒)：Ctrl+M    ",
    u"小技巧： 常用快捷键  插入日期时间：Ctrl+T   插入分割线：Ctrl+L   ",
    u"小技巧： 常用快捷键  粗体:Ctrl+B  斜体:Ctrl+I  下划线:Ctrl+U ",
    u"小技巧： 常用快捷键  剪切:Ctrl+X  复制:Ctrl+C  粘贴:Ctrl+V",
    u"小技巧： 常用快捷键  打开文档:Ctrl+O  新建文档:Ctrl+N ",
    u"小技巧： 常用快捷键  保存文档:Ctrl+S  另存文档:Ctrl+Shift+S ",
    u"小技巧： 常用快捷键  变速（增）:Alt+→ ， 变速（减）: Alt+←",
    u"小技巧： 常用快捷键  播放/暂停: F4键 或者 TAB键   打开音频：Alt+O",
    u"小技巧： 常用快捷键  快退5秒：F5键 或 左Shift， 快进5秒：F6键 或 右Shift",
    u"小技巧： 常用字体快捷键  Alt+Q,W,E,R,T  共可设置五种常用字体",
    u"小技巧： 常用字体快捷键  Alt+1,2,3,4,5,6  共可设置六种常用字体颜色",
};
}  // namespace

std::u16string_view TipText(int number) {
    return number >= 1 && number <= kTipCount ? kTips[number - 1] : std::u16string_view{};
}
