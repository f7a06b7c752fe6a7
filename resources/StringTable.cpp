#include "StringTable.h"

#include <map>

namespace {

const std::map<int, const char16_t *> &table()
{
    static const std::map<int, const char16_t *> strings = {
        // Panes and messages.
        {StringTable::LineColumnPlaceholder, u"99999 行 999 桁"},
        {StringTable::LineColumnFormat, u"%5u 行 %3u 列"},
        {StringTable::SearchReachedEnd, u"ドキュメントを最後まで検索しました。"},
        {StringTable::SearchReachedStart, u"ドキュメントを先頭まで検索しました。"},
        {StringTable::ConversionFailed, u"文字コードの変換に失敗しました。"},
        {StringTable::NoMemoryForLineNumbers, u"メモリ不足のため、行番号を表示できません。"},
        {StringTable::NoMemoryForReading, u"メモリ不足のため、ファイルを読み込めません。"},
        {StringTable::NoMemoryForWriting, u"メモリ不足のため、ファイルに保存できません。"},
        {StringTable::NoMemoryForCompletion, u"メモリ不足のため、コード補完機能を有効にできません。"},
        {StringTable::NoMemoryForRunning, u"メモリ不足のため、\"%s\"を実行できません。"},
        {StringTable::CannotRun, u"\"%s\"を実行できません。"},
        {StringTable::ExecutableFilter, u"実行ファイル (*.exe)|*.exe|全てのファイル (*.*)|*.*||"},
        {StringTable::LossySave,
         u"選択した文字コードでは表せない文字が含まれています。このまま保存すると、それらの文字は「?」に"
         u"置き換えられます。\n\nこのまま保存しますか?\n\n(保存に使う文字コードは「ファイル」メニューの"
         u"「保存用文字コードの設定」で変えられます。)"},
        {StringTable::InvalidBytesRead,
         u"このファイルには、判定した文字コードでは正しく読めないバイト列が含まれています。そのまま保存すると"
         u"その部分は失われます。\n\n別の文字コードで読み直すには、「表示」メニューの「文字エンコード」から"
         u"選んでください。"},
        {StringTable::UnholdableCharactersRead,
         u"このファイルには、エディタがそのままでは保てない文字 (U+2029 段落区切り、U+FDD0、U+FDD1) が %1 個"
         u"あります。最初のものは %2 行目です。\n\nエディタではどれも改行になっているため、保存するとファイルでも"
         u"改行に置き換わります。保存する前に確認します。"},
        {StringTable::UnholdableCharactersSave,
         u"読み込んだときに改行になった文字 (U+2029 段落区切り、U+FDD0、U+FDD1) は、このまま保存するとファイル"
         u"からも失われ、改行に置き換わります。\n\nこのまま保存しますか?"},
        {StringTable::UndecodableSettings,
         u"設定ファイル「%1」は UTF-8 でもシフトJIS でもないため、読めない設定があります。\n\n設定を書き込むときに"
         u" UTF-8 で書き直し、元のファイルは「%2」として残します。"},
        {StringTable::RecoveryOffer, u"保存されていない変更が残っています。復元しますか?"},
        {StringTable::RecoveryDamaged,
         u"復元用のファイルが壊れているため、復元できません。ファイルは次の名前で残してあります。\n\n%1"},
        {StringTable::FindingCountFormat, u"エラー %1 件　警告 %2 件"},
        {StringTable::FindingFileMissing, u"ファイル \"%s\" が見つかりません。"},
        {StringTable::Utf16CannotBeTypeset,
         u"この文書は UTF-16 で保存されています。UTF-16 の文書は TeX では処理できないため、実行を取りやめました。"
         u"\n\n「ファイル」メニューの「保存用文字コードの設定」で UTF-8 などを選んで保存してから、もう一度実行して"
         u"ください。"},
        {StringTable::VeryLongLine,
         u"このファイルには 1 MB を超える長い行があります (%2 行目、%1 バイト)。表示や編集に長い時間が"
         u"かかり、その間は操作できないことがあります。\n\nこのまま開きますか?"},
        {StringTable::ApplicationTitle, u"Quillmere"},
        {StringTable::IdleMessage, u"レディ"},

        // Prompts and tooltips of the standard commands.
        {57600, u"新規にファイルを作成\n新規ファイル"},
        {57601, u"既存のファイルを開きます\n開く"},
        {57603, u"作業中のファイルを上書きして保存\n保存"},
        {57604, u"作業中のファイルを新しい名前で保存します\n名前を付けて保存"},
        {57606, u"プリンタと印刷オプションを設定します\n印刷設定"},
        {57607, u"作業中のファイルを印刷します\n印刷"},
        {57609, u"印刷結果のイメージを表示します\n印刷プレビュー"},
        {57616, u"このファイルを開きます"},
        {57617, u"このファイルを開きます"},
        {57618, u"このファイルを開きます"},
        {57619, u"このファイルを開きます"},
        {57634, u"選択範囲をコピーしてクリップボードに入れます\nコピー"},
        {57635, u"選択範囲を切り取ってクリップボードに移します\n切り取り"},
        {57636, u"指定した文字列を検索します\n検索"},
        {57637, u"クリップボードの内容を挿入します\n貼り付け"},
        {57641, u"指定した文字列を別の文字列に置き換えます\n置換"},
        {57642, u"ファイル全体を選択します\nすべて選択"},
        {57643, u"直前の操作を元に戻します\n元に戻す"},
        {57664, u"プログラムのバージョンを表示します\nバージョン情報"},
        {57665, u"アプリケーションを終了します。保存していない変更は確認します\n終了"},
        {57680, u"次のペインに切り替えます\n次のペイン"},
        {57681, u"前のペインに切り替えます\n前のペイン"},
        {59392, u"ツール バーの表示/非表示を切り替えます\nツール バーの表示切り替え"},
        {59393, u"ステータス バーの表示/非表示を切り替えます\nステータス バーの表示切り替え"},

        // Prompts and tooltips of the program's own commands.
        {32776, u"次の文字列を検索する\n次を検索"},
        {32790, u"ファイルを保存するときに使う文字コードの設定を行います\n保存用文字コードの設定"},
        {32795, u"表示用文字コードにシフトJISを使用します\nシフトJIS"},
        {32797, u"表示用文字コードにEUC-JPを使用します\nEUC-JP"},
        {32799, u"表示用文字コードにISO-2022-JPを使用します\nISO-2022-JP"},
        {32801, u"表示用文字コードにUTF-8を使用します\nUTF-8"},
        {32803, u"表示用文字コードにUTF-16(Little endian)を使用します\nUTF-16(Little endian)"},
        {32805, u"表示用文字コードにUTF-16(Big endian)を使用します\nUTF-16(Big endian)"},
        {32808, u"pLaTeXを実行します。\npLaTeXを実行"},
        {32810, u"jBibTeXを実行します。\njBibTeXを実行"},
        {32812, u"dvioutを実行します。\ndvioutを実行"},
        {32814, u"dvipskを実行します。\ndvipsを実行"},
        {32816, u"dvipdfmxを実行します。\ndvipdfmxを実行"},
        {32818, u"GSViewを実行します。\nGSViewを実行"},
        {32835, u"PDFを表示します。\nPDFを表示"},
        {32822, u"外部プログラムに関する設定を行います。\n外部プログラムの設定"},
        {32831, u"行番号の表示/非表示を切り替えます。\n行番号表示"},
        {32833, u"画面表示用のフォントを変更します。"},
        {32837, u"直前の実行で報告された次のエラーや警告の行へ移動します。\n次のエラー"},
        {32839, u"直前の実行で報告された前のエラーや警告の行へ移動します。\n前のエラー"},
        {32841, u"構文の色分けと括弧の対応の表示/非表示を切り替えます。\n色分け表示"},
    };
    return strings;
}

} // namespace

QString StringTable::text(int id)
{
    const auto found = table().find(id);
    return found == table().end() ? QString() : QString::fromUtf16(found->second);
}
