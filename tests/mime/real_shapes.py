"""Mail of the shapes that real mailboxes hold and tidy generators never
write: no Subject, From or Date; a part without its empty line; an
alternative cut off or closed by an empty part; a NUL byte; raw EUC-JP
headers; the charsets of Western, Cyrillic, Korean and Chinese mail,
UTF-7 and UTF-16; a byte-order mark before a header, field names with
blanks, an orphan continuation line, alternatives that are multiparts,
plain words labelled base64, and 7-bit labels on 8-bit text. Each message is written here byte by byte, beside what
its Subject, From and body read as once decoded (None: the message has no
such header), in Unicode; cp932() gives the bytes the decoder must write.
"""
import base64
import os
import re

from make_corpus import cp932

SEPARATOR = b"From sender@example.jp Mon Dec  7 09:00:00 2026\r\n"


def crlf(text):
    return text.replace("\n", "\r\n")


def b64(data):
    return base64.b64encode(data).decode("ascii")


def word(charset, text, codec=None):
    """An RFC 2047 B word."""
    return "=?%s?B?%s?=" % (charset, b64(text.encode(codec or charset)))


FORWARDED = ("iPhoneから送信\n\nBegin forwarded message:\n\n> 差出人: 田中 一郎 <tanaka@example.jp>\n"
             "> 件名: 打ち合わせ\n\n明日の10時でお願いします。\n")
ALTERNATIVE_HEAD = ("Subject: %s\nFrom: hanako@example.jp\nDate: Tue, 08 Dec 2026 10:00:00 +0900\n"
                    "MIME-Version: 1.0\nContent-Type: multipart/alternative; boundary=\"Apple-Mail-3\"\n\n"
                    "--Apple-Mail-3\nContent-Type: text/plain; charset=utf-8\nContent-Transfer-Encoding: base64\n\n"
                    "%s\n--Apple-Mail-3\nContent-Type: text/html; charset=utf-8\n\n<div>iPhone</div>\n")

BOM = "\ufeff"
RELATED = ("<p>資料を添付します。</p><img src=\"cid:c1\"><p>以上です。</p>")
SERVER = "サーバーの停止について"
# The IMAP form of UTF-7, which some mailers send: "," for "/".
SERVER_UTF7 = SERVER.encode("utf-7").decode("ascii").replace("/", ",")

# (kind, message text as the host hands it over, subject, from, body)
MESSAGES = [
    ("only-mime-headers",
     crlf("MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=\"m1\"\n\n--m1\n"
          "Content-Type: text/plain; charset=us-ascii\n\nAttachment Test\n\n--m1\n"
          "Content-Type: application/octet-stream; name=\"data.bin\"\nContent-Transfer-Encoding: base64\n\n"
          "AAECAw==\n--m1--\n").encode("ascii"),
     None, None, "Attachment Test\n\n[添付ファイル: data.bin (4 バイト)]\n"),
    ("part-without-empty-line",
     crlf("Subject: %s\nFrom: a@example.jp\nContent-Type: multipart/mixed; boundary=\"m2\"\n\n--m2\n"
          "Content-Type: text/plain; charset=UTF-8\n本文は空行なしで始まります。\n二行目。\n--m2--\n"
          % word("UTF-8", "空行なし")).encode("utf-8"),
     "空行なし", "a@example.jp", "本文は空行なしで始まります。\n二行目。\n"),
    ("alternative-without-closing-delimiter",
     crlf(ALTERNATIVE_HEAD % (word("UTF-8", "Fwd: 打ち合わせ"), b64(FORWARDED.encode("utf-8")))
          + "--Apple-Mail-3\n").encode("ascii"),
     "Fwd: 打ち合わせ", "hanako@example.jp", FORWARDED),
    ("alternative-closed-by-an-empty-part",
     crlf(ALTERNATIVE_HEAD % (word("UTF-8", "予定"), b64("来週の予定です。\n".encode("utf-8")))
          + "--Apple-Mail-3\nContent-Type: text/plain\n\n\n--Apple-Mail-3--\n").encode("ascii"),
     "予定", "hanako@example.jp", "来週の予定です。\n"),
    ("nul-byte",
     crlf("Subject: te\0st\nFrom: nul@example.jp\n\nbefore\0after\n").encode("ascii"),
     "test", "nul@example.jp", "beforeafter\n"),
    ("raw-euc-jp-headers",
     crlf("Subject: テスト\nFrom: 山田 太郎 <yamada@example.jp>\n\nEUC-JPで書かれた本文です。\n").encode("euc_jp"),
     "テスト", "山田 太郎 <yamada@example.jp>", "EUC-JPで書かれた本文です。\n"),
    ("windows-1252",
     crlf("Subject: =?Windows-1252?Q?Die_Hasen_und_die_Fr=F6sche?=\nFrom: =?windows-1252?Q?Ren=E9?= <rene@example.de>\n"
          "Content-Type: text/plain; charset=windows-1252\nContent-Transfer-Encoding: quoted-printable\n\n"
          "=93Guten Tag=94 =85 h=E4h=E4\n").encode("ascii"),
     "Die Hasen und die Frösche", "René <rene@example.de>", "“Guten Tag” … hähä\n"),
    ("iso-8859-15",
     crlf("Subject: Wetter\nFrom: =?ISO-8859-15?Q?J=F6rn?= <joern@example.de>\n"
          "Content-Type: text/plain; charset=ISO-8859-15\n\n").encode("ascii")
     + "Temperatur 20°, Fläche 3×4 m\r\n".encode("iso8859_15"),
     "Wetter", "Jörn <joern@example.de>", "Temperatur 20°, Fläche 3×4 m\n"),
    ("koi8-r",
     crlf("Subject: %s\nFrom: ivan@example.ru\nContent-Type: text/plain; charset=koi8-r\n"
          "Content-Transfer-Encoding: 8bit\n\n" % word("KOI8-R", "Отчёт", "koi8_r")).encode("ascii")
     + crlf("Привет, мир! шостий\n").encode("koi8_r"),
     "Отчёт", "ivan@example.ru", "Привет, мир! шостий\n"),
    ("ks-c-5601-1987",
     crlf("Subject: %s\nFrom: kim@example.kr\nContent-Type: text/plain; charset=ks_c_5601-1987\n"
          "Content-Transfer-Encoding: base64\n\n%s\n"
          % (word("ks_c_5601-1987", "韓國 회의", "cp949"), b64("韓國 회의 자료입니다.\n".encode("cp949")))).encode("ascii"),
     "韓國 회의", "kim@example.kr", "韓國 회의 자료입니다.\n"),
    ("utf-7-and-utf-16",
     crlf("Subject: =?utf-7?Q?+ZeVnLIqe-?=\nFrom: seven@example.jp\nContent-Type: multipart/mixed; boundary=\"m3\"\n\n"
          "--m3\nContent-Type: text/plain; charset=utf-16\nContent-Transfer-Encoding: base64\n\n%s\n--m3--\n"
          % b64("こんにちは、UTF-16です。\n".encode("utf-16"))).encode("ascii"),
     "日本語", "seven@example.jp", "こんにちは、UTF-16です。\n"),
    ("gb2312-and-big5",
     crlf("Subject: %s\nFrom: %s <li@example.cn>\nContent-Type: multipart/mixed; boundary=\"m4\"\n\n--m4\n"
          "Content-Type: text/plain; charset=gb2312\nContent-Transfer-Encoding: base64\n\n%s\n--m4\n"
          "Content-Type: text/plain; charset=big5\nContent-Transfer-Encoding: base64\n\n%s\n--m4--\n"
          % (word("gb2312", "中文会议"), word("big5", "李明"), b64("中文邮件\n".encode("gb2312")),
             b64("繁體中文\n".encode("big5")))).encode("ascii"),
     "中文会议", "李明 <li@example.cn>", "中文邮件\n\n繁體中文\n"),
    ("byte-order-marks-before-headers",
     crlf(BOM + "Subject: %s\nFrom: %s <sato@example.jp>\nMIME-Version: 1.0\n"
          "Content-Type: multipart/mixed; boundary=\"bom1\"\n\n--bom1\n%sContent-Type: text/plain; charset=utf-8\n"
          "Content-Transfer-Encoding: base64\n\n%s\n--bom1\nContent-Type: application/pdf; name=\"memo.pdf\"\n"
          "Content-Transfer-Encoding: base64\n\nJVBERi0=\n--bom1--\n"
          % (word("UTF-8", "保存したメール"), word("UTF-8", "佐藤 花子"), BOM,
             b64("Outlookで保存したメールです。\n".encode("utf-8")))).encode("utf-8"),
     "保存したメール", "佐藤 花子 <sato@example.jp>", "Outlookで保存したメールです。\n\n[添付ファイル: memo.pdf (5 バイト)]\n"),
    ("field-name-with-blanks-and-symbols",
     crlf("Subject: %s\nFrom: suzuki@example.jp\nMIME-Version: 1.0\nContent-Type: text/plain; charset=UTF-8\n"
          "X-Form-Handler/v2\t (draft) #1 \"ok\": on\nContent-Transfer-Encoding: base64\n\n%s\n"
          % (word("UTF-8", "会議室の予約"), b64("会議室の予約を確認しました。\n".encode("utf-8")))).encode("ascii"),
     "会議室の予約", "suzuki@example.jp", "会議室の予約を確認しました。\n"),
    ("white-space-before-colons",
     crlf("Subject : %s\nFrom\t: %s <takahashi@example.jp>\nContent-Type : text/plain; charset=ISO-2022-JP\n\n"
          % (word("ISO-2022-JP", "古い書式"), word("ISO-2022-JP", "高橋"))).encode("ascii")
     + crlf("古い書式のヘッダーです。\n").encode("iso2022_jp"),
     "古い書式", "高橋 <takahashi@example.jp>", "古い書式のヘッダーです。\n"),
    ("orphan-continuation-lines",
     crlf("  by mx.example.jp (Postfix) with ESMTP id 4A1B2C\n\tfor <you@example.jp>; Wed, 09 Dec 2026 08:00:00 +0900\n"
          "Subject: %s\nFrom: yamamoto@example.jp\nContent-Type: text/plain; charset=utf-8\n"
          "Content-Transfer-Encoding: 8bit\n\n" % word("UTF-8", "途中から")).encode("ascii")
     + crlf("ヘッダーの途中から保存されました。\n").encode("utf-8"),
     "途中から", "yamamoto@example.jp", "ヘッダーの途中から保存されました。\n"),
    ("alternative-of-multiparts",
     crlf("Subject: %s\nFrom: nakamura@example.jp\nMIME-Version: 1.0\n"
          "Content-Type: multipart/alternative; boundary=\"alt0\"\n\n--alt0\n"
          "Content-Type: multipart/mixed; boundary=\"mix0\"\n\n--mix0\nContent-Type: text/plain; charset=utf-8\n"
          "Content-Transfer-Encoding: base64\n\n%s\n--mix0\nContent-Type: image/png; name=\"chart.png\"\n"
          "Content-Disposition: attachment; filename=\"chart.png\"\nContent-Transfer-Encoding: base64\n\niVBORw0KGgo=\n"
          "--mix0\nContent-Type: text/plain; charset=utf-8\nContent-Transfer-Encoding: base64\n\n%s\n--mix0--\n"
          "--alt0\nContent-Type: multipart/related; boundary=\"rel0\"\n\n--rel0\n"
          "Content-Type: text/html; charset=utf-8\nContent-Transfer-Encoding: base64\n\n%s\n--rel0\n"
          "Content-Type: image/png\nContent-ID: <c1>\nContent-Transfer-Encoding: base64\n\niVBORw0KGgo=\n--rel0--\n"
          "--alt0--\n"
          % (word("UTF-8", "資料"), b64("資料を添付します。\n".encode("utf-8")), b64("以上です。\n".encode("utf-8")),
             b64(RELATED.encode("utf-8")))).encode("ascii"),
     "資料", "nakamura@example.jp", "資料を添付します。\n\n[添付ファイル: chart.png (8 バイト)]\n\n以上です。\n"),
    ("plain-words-labelled-base64",
     crlf("Subject: %s\nFrom: %s <ito@example.jp>\nContent-Type: text/plain; charset=us-ascii\n"
          "Content-Transfer-Encoding: base64\n\nThank you for the meeting today\nSee you next week\n"
          % (word("UTF-8", "お礼"), word("UTF-8", "伊藤"))).encode("ascii"),
     "お礼", "伊藤 <ito@example.jp>", "Thank you for the meeting today\nSee you next week\n"),
    ("iso-2022-jp-label-on-utf-8",
     crlf("Subject: =?ISO-2022-JP?B?%s?=\nFrom: MAILER-DAEMON@example.jp\n"
          "Content-Type: text/plain; charset=ISO-2022-JP\nContent-Transfer-Encoding: 7bit\n\n"
          % b64("配信エラーのお知らせ".encode("utf-8"))).encode("ascii")
     + crlf("送信先のアドレスが見つかりませんでした。\n").encode("utf-8"),
     "配信エラーのお知らせ", "MAILER-DAEMON@example.jp", "送信先のアドレスが見つかりませんでした。\n"),
    ("utf-7-with-commas",
     crlf("Subject: =?UTF-7?Q?%s?=\nFrom: admin@example.jp\nContent-Type: text/plain; charset=UTF-7\n\n%s\n"
          % (SERVER_UTF7, SERVER_UTF7)).encode("ascii"),
     SERVER, "admin@example.jp", SERVER + "\n"),
]


def expected_block_lines(subject, sender):
    """Subject and From as the export writes them (a [tag] trimmed)."""
    return [b"Subject: " + (cp932(subject) if subject else b""), b"From: " + (cp932(sender) if sender else b"")]


def mailbox():
    quoted = (re.sub(rb"(?m)^(>*From )", rb">\1", data) for _, data, *_ in MESSAGES)
    return b"".join(SEPARATOR + data + b"\r\n" for data in quoted)


if __name__ == "__main__":
    import sys
    sys.stdout.buffer.write(mailbox())
