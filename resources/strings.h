// Every text the plug-in shows, in the source's UTF-8; the compiler emits them
// as Shift-JIS (code page 932).
#pragma once

namespace strings {

constexpr char kPluginName[] = "Corax To Palm";
constexpr char kVersion[] = "Ver.0.2.3β";
constexpr char kReleaseDate[] = "2002/05/22";
constexpr char kAuthor[] = "CoraxToPalm developers";
constexpr char kAuthorMail[] = "coraxtopalm@example.jp";
constexpr char kAuthorPage[] = "http://coraxtopalm.example.jp/";
constexpr char kDescription[] = "Palm の DOC 形式に変換し、インストール予約します。";

constexpr char kMenuConvertUnread[] = "未読をDOCに変換";
constexpr char kMenuConvertFolder[] = "DOCに変換";
constexpr char kMenuSettings[] = "CoraxToPalm の設定";

constexpr char kBoxCaption[] = "CoraxToPalm";
constexpr char kDoneCaption[] = "変換完了";
constexpr char kTooManyFolders[] = "フォルダが多すぎる？";
constexpr char kNothingToConvert[] = "変換対象がありませんでした";
constexpr char kTextFileLabel[] = "テキストファイル";
constexpr char kCannotCreateTempFile[] = "テンポラリファイルが作れません。";
constexpr char kConversionFailed[] = "DOCへの変換に失敗。";

constexpr char kNoInstallUser[] = "(インストールしない)";

// The bookmark of a message without a subject.
constexpr char kNoSubject[] = "(件名なし)";

// The line that stands for an attachment in decoded mail:
// "[添付ファイル: 契約書.pdf (2,057 バイト)]".
constexpr char kAttachmentNoteStart[] = "[添付ファイル: ";
constexpr char kAttachmentNoteEnd[] = " バイト)]";

}  // namespace strings
