#include "CommandResources.h"

#include "CommandIds.h"
#include "StringTable.h"

using namespace CommandId;
using Item = CommandVocabulary::MenuItem;

namespace {

Item command(int id, const char16_t *text)
{
    return Item{id, QString::fromUtf16(text), {}};
}

Item separator()
{
    return Item{};
}

Item popup(const char16_t *text, std::vector<Item> items)
{
    return Item{0, QString::fromUtf16(text), std::move(items)};
}

std::vector<Item> menuBar()
{
    return {
        popup(u"ファイル(&F)",
              {command(FileNew, u"新規作成\tCtrl+N(&N)"), command(FileOpen, u"開く...\tCtrl+O(&O)"),
               command(FileSave, u"上書き保存\tCtrl+S(&S)"), command(FileSaveAs, u"名前を付けて保存(&A)..."),
               separator(), command(SaveEncoding, u"保存用文字コードの設定"), separator(),
               command(FilePrint, u"印刷...\tCtrl+P(&P)"), command(FilePrintPreview, u"印刷プレビュー(&V)"),
               command(FilePrintSetup, u"プリンタの設定(&R)..."), separator(),
               command(RecentFile1, u"最近使ったファイル"), separator(),
               command(AppExit, u"アプリケーションの終了(&X)")}),
        popup(u"編集(&E)",
              {command(EditUndo, u"元に戻す\tCtrl+Z(&U)"), separator(), command(EditCut, u"切り取り\tCtrl+X(&T)"),
               command(EditCopy, u"コピー\tCtrl+C(&C)"), command(EditPaste, u"貼り付け\tCtrl+V(&P)"), separator(),
               command(EditFind, u"検索\tCtrl+F(&F)"), command(FindNext, u"次を検索\tF3(&N)"),
               command(EditReplace, u"置換\tCtrl+H(&R)"), separator(),
               command(EditSelectAll, u"すべて選択\tCtrl+A(&A)")}),
        popup(u"実行(&X)",
              {command(RunPlatex, u"pLaTeX\tCtrl+F1"), command(RunJbibtex, u"jBibTeX\tCtrl+F2"),
               command(RunDviout, u"dviout\tCtrl+F3"), separator(), command(RunDvipsk, u"dvipsk\tCtrl+F4"),
               command(RunDvipdfmx, u"dvipdfmx\tCtrl+F5"), separator(), command(RunGsview, u"GSView\tCtrl+F6"),
               command(ShowPdf, u"PDFを表示\tCtrl+F7"), separator(), command(NextError, u"次のエラー\tF8"),
               command(PreviousError, u"前のエラー\tShift+F8"), separator(),
               command(ExternalProgramSettings, u"外部プログラムの設定")}),
        popup(u"表示(&V)",
              {command(ViewToolBar, u"ツール バー(&T)"), command(ViewStatusBar, u"ステータス バー(&S)"),
               command(ToggleLineNumbers, u"行番号"), command(ToggleSyntaxColor, u"色分け表示"), separator(),
               command(ChangeFont, u"フォント変更"), separator(),
               popup(u"文字エンコード", {command(DisplayShiftJis, u"シフトJIS"), command(DisplayEucJp, u"EUC-JP"),
                                         command(DisplayIso2022Jp, u"ISO-2022-JP"), command(DisplayUtf8, u"UTF-8"),
                                         command(DisplayUtf16Le, u"UTF-16(Little endian)"),
                                         command(DisplayUtf16Be, u"UTF-16(Big endian)")})}),
        popup(u"ヘルプ(&H)", {command(AppAbout, u"バージョン情報 Quillmere(&A)...")}),
    };
}

std::vector<Item> contextMenus()
{
    return {
        popup(u"popup0", {command(EditCut, u"切り取り(&T)"), command(EditCopy, u"コピー(&C)"),
                          command(EditPaste, u"貼り付け(&P)"), separator(), command(EditSelectAll, u"すべて選択(&A)")}),
        popup(u"popup1", {command(EditCopy, u"コピー(&C)"), separator(), command(EditSelectAll, u"すべて選択(&A)")}),
    };
}

std::vector<CommandVocabulary::Accelerator> accelerators()
{
    return {
        {QKeySequence(Qt::CTRL | Qt::Key_C), EditCopy},
        {QKeySequence(Qt::CTRL | Qt::Key_Insert), EditCopy},
        {QKeySequence(Qt::CTRL | Qt::Key_X), EditCut},
        {QKeySequence(Qt::SHIFT | Qt::Key_Delete), EditCut},
        {QKeySequence(Qt::CTRL | Qt::Key_V), EditPaste},
        {QKeySequence(Qt::SHIFT | Qt::Key_Insert), EditPaste},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), EditUndo},
        {QKeySequence(Qt::ALT | Qt::Key_Backspace), EditUndo},
        {QKeySequence(Qt::CTRL | Qt::Key_F), EditFind},
        {QKeySequence(Qt::Key_F3), FindNext},
        {QKeySequence(Qt::CTRL | Qt::Key_H), EditReplace},
        {QKeySequence(Qt::CTRL | Qt::Key_A), EditSelectAll},
        {QKeySequence(Qt::CTRL | Qt::Key_N), FileNew},
        {QKeySequence(Qt::CTRL | Qt::Key_O), FileOpen},
        {QKeySequence(Qt::CTRL | Qt::Key_S), FileSave},
        {QKeySequence(Qt::CTRL | Qt::Key_P), FilePrint},
        {QKeySequence(Qt::Key_F6), NextPane},
        {QKeySequence(Qt::SHIFT | Qt::Key_F6), PreviousPane},
        {QKeySequence(Qt::CTRL | Qt::Key_F1), RunPlatex},
        {QKeySequence(Qt::CTRL | Qt::Key_F2), RunJbibtex},
        {QKeySequence(Qt::CTRL | Qt::Key_F3), RunDviout},
        {QKeySequence(Qt::CTRL | Qt::Key_F4), RunDvipsk},
        {QKeySequence(Qt::CTRL | Qt::Key_F5), RunDvipdfmx},
        {QKeySequence(Qt::CTRL | Qt::Key_F6), RunGsview},
        {QKeySequence(Qt::CTRL | Qt::Key_F7), ShowPdf},
        {QKeySequence(Qt::Key_F8), NextError},
        {QKeySequence(Qt::SHIFT | Qt::Key_F8), PreviousError},
    };
}

std::map<int, QString> commandStrings(const std::vector<Item> &menus, const std::vector<int> &extra)
{
    std::map<int, QString> strings;
    const auto addString = [&strings](int id) {
        const QString text = StringTable::text(id);
        if (!text.isEmpty())
            strings.emplace(id, text);
    };
    const auto addMenu = [&addString](const auto &self, const std::vector<Item> &items) -> void {
        for (const Item &item : items) {
            if (item.isPopup())
                self(self, item.items);
            else if (!item.isSeparator())
                addString(item.id);
        }
    };
    addMenu(addMenu, menus);
    for (const int id : extra)
        addString(id);
    return strings;
}

} // namespace

CommandVocabulary CommandResources::vocabulary()
{
    CommandVocabulary vocabulary;
    vocabulary.menuBar = menuBar();
    vocabulary.contextMenus = contextMenus();
    vocabulary.accelerators = accelerators();
    vocabulary.toolBar = {FileNew,   FileOpen, FileSave, 0, EditCut,   EditCopy,
                          EditPaste, 0,        ShowPdf,  0, FilePrint, AppAbout};
    vocabulary.toolBarIcons = {
        {FileNew, QStringLiteral(":/toolbar/new.svg")},     {FileOpen, QStringLiteral(":/toolbar/open.svg")},
        {FileSave, QStringLiteral(":/toolbar/save.svg")},   {EditCut, QStringLiteral(":/toolbar/cut.svg")},
        {EditCopy, QStringLiteral(":/toolbar/copy.svg")},   {EditPaste, QStringLiteral(":/toolbar/paste.svg")},
        {FilePrint, QStringLiteral(":/toolbar/print.svg")}, {ShowPdf, QStringLiteral(":/toolbar/pdf.svg")},
        {AppAbout, QStringLiteral(":/toolbar/about.svg")},
    };
    vocabulary.strings = commandStrings(vocabulary.menuBar, {NextPane, PreviousPane});
    vocabulary.radioGroups = {
        {DisplayShiftJis, DisplayEucJp, DisplayIso2022Jp, DisplayUtf8, DisplayUtf16Le, DisplayUtf16Be}};
    return vocabulary;
}
