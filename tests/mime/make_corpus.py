#!/usr/bin/env python3
"""Writes the MIME decoding corpus: realistic Japanese mail made with
Python's email package, each message beside the code page 932 text expected
from decoding it.

    python3 tests/mime/make_corpus.py

writes, in tests/mime/corpus/:
- NN-kind.eml: one message as the mail host hands it over (CR LF lines);
- NN-kind.expected: its Subject, From and Date lines, an empty line and its
  readable body, in code page 932 with CR LF lines, as the decoder must give;
and tests/mime/japanese-mail.mbox: the first twelve messages, the kinds of
mail a Japanese user receives, as one mbox folder for the end-to-end tests.

The output is the same at every run (fixed dates, boundaries and bytes).
"""
import base64
import datetime
import email.charset
import email.policy
import email.utils
import os
import re
from email.header import Header
from email.message import EmailMessage
from email.mime.multipart import MIMEMultipart
from email.mime.text import MIMEText
from email.utils import formataddr

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")
MAILBOX = os.path.join(HERE, "japanese-mail.mbox")
MAILBOX_MESSAGES = 12
SEPARATOR = b"From sender@example.jp Mon Dec  7 09:00:00 2026\r\n"
GETA = "〓"
SMTP = email.policy.SMTP          # CR LF lines, non-ASCII headers as encoded words
SMTP_UTF8 = email.policy.SMTPUTF8  # CR LF lines, raw UTF-8 headers
COMPAT = email.policy.compat32.clone(linesep="\r\n")
JST = datetime.timezone(datetime.timedelta(hours=9))


def ibm_extensions():
    """Character to its IBM extension code (lead bytes 0xFA to 0xFC)."""
    codes = {}
    for lead in range(0xFA, 0xFD):
        for trail in range(0x40, 0xFD):
            try:
                codes.setdefault(bytes([lead, trail]).decode("cp932"), bytes([lead, trail]))
            except UnicodeDecodeError:
                pass
    return codes


IBM_EXTENSIONS = ibm_extensions()


def cp932(text):
    """What the decoder gives for text: code page 932 as Windows writes it
    (an IBM extension rather than its NEC-selected twin, which Python's
    encoder picks), 〓 for the rest."""
    out = bytearray()
    for character in text:
        try:
            encoded = character.encode("cp932")
        except UnicodeEncodeError:
            encoded = GETA.encode("cp932")
        if encoded[:1] in (b"\xed", b"\xee"):
            encoded = IBM_EXTENSIONS.get(character, encoded)
        out += encoded
    return bytes(out)


def expected(subject, sender, date, body):
    lines = []
    for name, value in (("Subject", subject), ("From", sender), ("Date", date)):
        if value is not None:
            lines.append("%s: %s" % (name, value))
    text = "\n".join(lines) + "\n\n" + body
    return cp932(text).replace(b"\n", b"\r\n")


def shift_jis_charset():
    """Python sends shift_jis as ISO-2022-JP unless told to keep it."""
    charset = email.charset.Charset("shift_jis")
    charset.output_charset = "shift_jis"
    charset.output_codec = "shift_jis"
    charset.body_encoding = None
    return charset


def date(day, time):
    hour, minute, second = (int(part) for part in time.split(":"))
    moment = datetime.datetime(2026, 12, day, hour, minute, second, tzinfo=JST)
    return email.utils.format_datetime(moment)


def pdf_bytes(size):
    head = b"%PDF-1.4\n1 0 obj << /Type /Catalog >> endobj\n"
    tail = b"\n%%EOF\n"
    filler = bytes((i * 37 + 11) % 256 for i in range(size - len(head) - len(tail)))
    return head + filler + tail


# --- The twelve messages of the mailbox -------------------------------------

def iso2022jp_7bit():
    subject, name = "忘年会の出欠について", "山田 太郎"
    body = ("皆様\n\nお疲れ様です。山田です。\n今年の忘年会は12月18日（金）19時からです。\n"
            "出欠を12月11日までにお知らせください。\n\n山田\n")
    msg = MIMEText(body, "plain", "iso-2022-jp", policy=COMPAT)
    msg["Subject"] = Header(subject, "iso-2022-jp")
    msg["From"] = formataddr((name, "taro@example.jp"), charset="iso-2022-jp")
    msg["Date"] = date(7, "09:12:40")
    return msg, expected(subject, name + " <taro@example.jp>", msg["Date"], body)


def shift_jis_8bit():
    subject, name = "見積書送付のご案内", "佐藤 商事"
    body = "株式会社サンプル\n鈴木様\n\nお世話になっております。\n見積書を本日郵送いたしました。\nご査収ください。\n"
    msg = MIMEText(body, "plain", shift_jis_charset(), policy=COMPAT)
    del msg["Content-Transfer-Encoding"]
    msg["Content-Transfer-Encoding"] = "8bit"
    msg["Subject"] = Header(subject, shift_jis_charset())
    msg["From"] = formataddr((name, "sales@example.co.jp"), charset=shift_jis_charset())
    msg["Date"] = date(7, "10:01:00")
    return msg, expected(subject, name + " <sales@example.co.jp>", msg["Date"], body)


def utf8_message(subject, name, address, body, cte, day, time):
    msg = EmailMessage(policy=SMTP)
    msg["Subject"] = subject
    msg["From"] = formataddr((name, address))
    msg["Date"] = date(day, time)
    msg.set_content(body, cte=cte)
    return msg, expected(subject, name + " <" + address + ">", msg["Date"], body)


def utf8_base64():
    return utf8_message("会議室の予約について", "高橋 一郎", "ichiro@example.jp",
                        "来週の定例会議は第3会議室を予約しました。\n資料は共有フォルダにあります。\n",
                        "base64", 7, "11:30:00")


def utf8_quoted_printable():
    return utf8_message("Re: 出張報告書の提出", "伊藤 美咲", "misaki@example.jp",
                        "伊藤です。\n出張報告書を添付せずに失礼しました。\n明日までに提出します。\n",
                        "quoted-printable", 7, "12:05:10")


def multipart_with_pdf():
    subject, name = "契約書をお送りします", "田中 次郎"
    text = "田中です。\n契約書のPDFを添付します。\nご確認をお願いします。\n"
    msg = EmailMessage(policy=SMTP)
    msg["Subject"] = subject
    msg["From"] = formataddr((name, "jiro@example.jp"))
    msg["Date"] = date(7, "13:45:00")
    msg.set_content(text, cte="base64")
    msg.add_attachment(pdf_bytes(2057), maintype="application", subtype="pdf", filename="契約書.pdf")
    msg.set_boundary("==mixed-boundary-01==")
    body = text + "\n[添付ファイル: 契約書.pdf (2,057 バイト)]\n"
    return msg, expected(subject, name + " <jiro@example.jp>", msg["Date"], body)


HTML_NOTICE = """<html><head><meta http-equiv="Content-Type" content="text/html; charset=utf-8">
<title>お知らせ</title><style>p { margin: 0 }</style></head>
<body><h1>システムメンテナンスのお知らせ</h1>
<p>いつもご利用いただき、ありがとうございます。<br>
下記の日程でメンテナンスを行います。</p>
<ul>
  <li>日時：12月12日（土）&nbsp;2:00～6:00</li>
  <li>対象：会員サイト &amp; アプリ</li>
</ul>
<p>ご不便をおかけしますが、<b>よろしく</b>お願いいたします。</p>
<script>track("notice");</script>
</body></html>
"""
HTML_NOTICE_TEXT = ("システムメンテナンスのお知らせ\nいつもご利用いただき、ありがとうございます。\n"
                    "下記の日程でメンテナンスを行います。\n日時：12月12日（土） 2:00～6:00\n"
                    "対象：会員サイト & アプリ\nご不便をおかけしますが、よろしくお願いいたします。\n")


def html_only():
    subject, name = "【重要】メンテナンスのお知らせ", "サポートセンター"
    msg = EmailMessage(policy=SMTP)
    msg["Subject"] = subject
    msg["From"] = formataddr((name, "support@example.com"))
    msg["Date"] = date(7, "14:00:00")
    msg.set_content(HTML_NOTICE, subtype="html", cte="quoted-printable")
    return msg, expected(subject, name + " <support@example.com>", msg["Date"], HTML_NOTICE_TEXT)


def alternative():
    subject, name = "週末のハイキング", "中村 さくら"
    text = "こんにちは。\n土曜日は高尾山に行きませんか？\n集合は9時に高尾山口駅です。\n"
    html = ("<div dir=\"ltr\">こんにちは。<div>土曜日は<b>高尾山</b>に行きませんか？</div>"
            "<div>集合は9時に高尾山口駅です。</div></div>\n")
    msg = EmailMessage(policy=SMTP)
    msg["Subject"] = subject
    msg["From"] = formataddr((name, "sakura@example.jp"))
    msg["Date"] = date(7, "15:20:00")
    msg.set_content(text, cte="base64")
    msg.add_alternative(html, subtype="html", cte="base64")
    msg.set_boundary("==alternative-02==")
    return msg, expected(subject, name + " <sakura@example.jp>", msg["Date"], text)


def long_folded_subject():
    subject = "【ご案内】2027年度 新入社員研修プログラムの日程変更および会場変更に関するお知らせと今後の予定について"
    name = "人事部 研修担当"
    body = "人事部です。\n研修の日程と会場が変わりました。\n詳細は社内ポータルをご覧ください。\n"
    msg = MIMEText(body, "plain", "iso-2022-jp", policy=COMPAT)
    msg["Subject"] = Header(subject, "iso-2022-jp")
    msg["From"] = formataddr((name, "jinji@example.co.jp"), charset="iso-2022-jp")
    msg["Date"] = date(7, "16:00:00")
    return msg, expected(subject, name + " <jinji@example.co.jp>", msg["Date"], body)


def ml_tag_in_encoded_subject():
    # The tag is decoded with the rest; the export's subject clean-up then
    # sees it as it would in plain text.
    subject, name = "[corax-users:01234] 新しいバージョンのリリース", "小林 健"
    body = "小林です。\nバージョン0.2.3をリリースしました。\n"
    msg = MIMEText(body, "plain", "utf-8", policy=COMPAT)
    msg["Subject"] = Header(subject, "utf-8")
    msg["From"] = formataddr((name, "ken@example.org"), charset="utf-8")
    msg["Date"] = date(7, "17:10:00")
    return msg, expected(subject, name + " <ken@example.org>", msg["Date"], body)


def raw_utf8_headers():
    subject, name = "写真を送ります", "加藤 優子"
    body = "加藤です。\n旅行の写真を共有しました。\n"
    msg = EmailMessage(policy=SMTP_UTF8)
    msg["Subject"] = subject
    msg["From"] = formataddr((name, "yuko@example.jp"))
    msg["Date"] = date(7, "18:00:00")
    msg.set_content(body, cte="8bit")
    return msg, expected(subject, name + " <yuko@example.jp>", msg["Date"], body)


def english_plain():
    body = "Hello,\n\nThe build of 0.2.3 passed all tests.\n\nRegards\n"
    msg = EmailMessage(policy=SMTP)
    msg["Subject"] = "Build report"
    msg["From"] = "CI <ci@example.com>"
    msg["Date"] = date(7, "19:00:00")
    msg.set_content(body)
    return msg, expected("Build report", "CI <ci@example.com>", msg["Date"], body)


def iso2022jp_reply_quoted_name():
    # Some mailers put the encoded word inside the display name's quotes.
    subject, name = "Re: 忘年会の出欠について", "鈴木 花子"
    body = "鈴木です。\n忘年会には出席します。\n\n> 出欠を12月11日までにお知らせください。\n"
    msg = MIMEText(body, "plain", "iso-2022-jp", policy=COMPAT)
    msg["Subject"] = "Re: " + Header(subject[4:], "iso-2022-jp").encode()
    msg["From"] = '"%s" <hanako@example.jp>' % Header(name, "iso-2022-jp").encode()
    msg["Date"] = date(7, "20:30:05")
    return msg, expected(subject, '"%s" <hanako@example.jp>' % name, msg["Date"], body)


# --- More structures and charsets for the unit tests -------------------------

def euc_jp():
    subject, name = "EUC-JPのメール", "古い メーラー"
    body = "EUC-JPで書かれた本文です。\n半角ｶﾀｶﾅも入っています。\n"
    msg = email.message.Message(policy=COMPAT)
    msg["Subject"] = "=?EUC-JP?B?%s?=" % base64.b64encode(subject.encode("euc_jp")).decode()
    msg["From"] = "=?euc-jp?q?%s?= <old@example.jp>" % "".join("=%02X" % b for b in name.encode("euc_jp"))
    msg["Date"] = date(8, "09:00:00")
    msg["MIME-Version"] = "1.0"
    msg["Content-Type"] = "text/plain; charset=EUC-JP"
    msg["Content-Transfer-Encoding"] = "8bit"
    msg.set_payload(body.encode("euc_jp"))
    return msg, expected(subject, name + " <old@example.jp>", msg["Date"], body)


def forwarded_message():
    inner = MIMEText("元のメールの本文です。\n", "plain", "iso-2022-jp", policy=COMPAT)
    inner["Subject"] = Header("元の件名", "iso-2022-jp").encode()
    inner["From"] = formataddr(("元の 差出人", "origin@example.jp"), charset="iso-2022-jp")
    inner["Date"] = date(1, "08:00:00")
    msg = EmailMessage(policy=SMTP)
    msg["Subject"] = "Fwd: 元の件名"
    msg["From"] = formataddr(("転送 する人", "fwd@example.jp"))
    msg["Date"] = date(8, "10:00:00")
    msg.set_content("転送します。\n", cte="base64")
    msg.add_attachment(inner)
    msg.set_boundary("==forward-03==")
    body = ("転送します。\n\nSubject: 元の件名\nFrom: 元の 差出人 <origin@example.jp>\nDate: %s\n\n"
            "元のメールの本文です。\n" % inner["Date"])
    return msg, expected("Fwd: 元の件名", "転送 する人 <fwd@example.jp>", msg["Date"], body)


def nested_with_image():
    text = "写真と地図です。\n"
    outer = MIMEMultipart("mixed", boundary="==outer-04==", policy=COMPAT)
    related = MIMEMultipart("related", boundary="==related-04==", policy=COMPAT)
    alternative = MIMEMultipart("alternative", boundary="==alternative-04==", policy=COMPAT)
    alternative.attach(MIMEText(text, "plain", "utf-8", policy=COMPAT))
    alternative.attach(MIMEText("<p>写真と<img src=\"cid:map\">地図です。</p>", "html", "utf-8", policy=COMPAT))
    related.attach(alternative)
    image = email.message.Message(policy=COMPAT)
    image.set_type("image/png")
    image.set_payload(base64.b64encode(b"\x89PNG\r\n\x1a\n" + bytes(92)).decode())
    image["Content-Transfer-Encoding"] = "base64"
    image["Content-ID"] = "<map>"
    related.attach(image)
    outer.attach(related)
    attachment = email.message.Message(policy=COMPAT)
    attachment.set_type("application/octet-stream")
    attachment.set_param("name", Header("旅程表.xlsx", "iso-2022-jp").encode())
    attachment["Content-Disposition"] = 'attachment; filename="%s"' % Header("旅程表.xlsx", "iso-2022-jp").encode()
    attachment["Content-Transfer-Encoding"] = "base64"
    attachment.set_payload(base64.encodebytes(bytes(range(256)) * 5).decode())
    outer.attach(attachment)
    outer["Subject"] = Header("写真と旅程", "utf-8")
    outer["From"] = "trip@example.jp"
    outer["Date"] = date(8, "11:00:00")
    body = text + "\n[添付ファイル: image/png (100 バイト)]\n\n[添付ファイル: 旅程表.xlsx (1,280 バイト)]\n"
    return outer, expected("写真と旅程", "trip@example.jp", outer["Date"], body)


def long_rfc2231_file_name():
    name = "２０２７年度事業計画書（最終版）修正済み_営業部提出用.docx"
    msg = EmailMessage(policy=SMTP)
    msg["Subject"] = "資料"
    msg["From"] = "plan@example.jp"
    msg["Date"] = date(8, "12:00:00")
    msg.set_content("資料です。\n", cte="base64")
    msg.add_attachment(b"PK" + bytes(998), maintype="application",
                       subtype="vnd.openxmlformats-officedocument.wordprocessingml.document", filename=name)
    msg.set_boundary("==rfc2231-05==")
    body = "資料です。\n\n[添付ファイル: %s (1,000 バイト)]\n" % name
    return msg, expected("資料", "plan@example.jp", msg["Date"], body)


def unicode_beyond_cp932():
    subject = "絵文字🎉とé、①と〜"
    body = "NEC特殊文字①②、ローマ数字Ⅲ、髙と﨑。\n絵文字😀はありません。\n"
    msg = EmailMessage(policy=SMTP)
    msg["Subject"] = subject
    msg["From"] = "emoji@example.jp"
    msg["Date"] = date(8, "13:00:00")
    msg.set_content(body, cte="base64")
    return msg, expected(subject, "emoji@example.jp", msg["Date"], body)


def latin1_and_q_lower_case():
    subject = "Café menu"
    body = "Crème brûlée: 5 francs. Ça va?\n"
    msg = MIMEText(body, "plain", "iso-8859-1", policy=COMPAT)
    msg["Subject"] = "=?iso-8859-1?q?Caf=E9_menu?="
    msg["From"] = "chef@example.fr"
    msg["Date"] = date(8, "14:00:00")
    return msg, expected(subject, "chef@example.fr", msg["Date"], body)


def no_mime_headers_iso2022jp():
    # Old Japanese mail: JIS text and nothing that names its charset.
    body = "件名も本文もJISです。\nヘッダに文字コードの指定がありません。\n"
    msg = email.message.Message(policy=COMPAT)
    msg["Subject"] = Header("古いメール", "iso-2022-jp").encode().replace("=?iso-2022-jp?b?", "=?ISO-2022-JP?B?")
    msg["From"] = "old@example.jp"
    msg["Date"] = date(8, "15:00:00")
    msg.set_payload(body.encode("iso2022_jp").decode("ascii"))
    return msg, expected("古いメール", "old@example.jp", msg["Date"], body)


def html_with_iso2022jp_and_entities():
    html = ("<HTML><BODY><P>価格は&yen;1,000&#65374;&#x5186;です。</P>"
            "<P>&lt;重要&gt; &quot;今日&quot;まで</P><BR><BR><BR><P>以上</P></BODY></HTML>")
    msg = MIMEText(html, "html", "iso-2022-jp", policy=COMPAT)
    msg["Subject"] = Header("HTMLのJISメール", "iso-2022-jp")
    msg["From"] = "shop@example.jp"
    msg["Date"] = date(8, "16:00:00")
    body = "価格は\\1,000～円です。\n<重要> \"今日\"まで\n\n以上\n"
    return msg, expected("HTMLのJISメール", "shop@example.jp", msg["Date"], body)


MESSAGES = [
    ("iso2022jp-7bit", iso2022jp_7bit),
    ("shift-jis-8bit", shift_jis_8bit),
    ("utf8-base64", utf8_base64),
    ("utf8-quoted-printable", utf8_quoted_printable),
    ("multipart-pdf-attachment", multipart_with_pdf),
    ("html-only", html_only),
    ("multipart-alternative", alternative),
    ("long-folded-subject", long_folded_subject),
    ("ml-tag-in-encoded-subject", ml_tag_in_encoded_subject),
    ("raw-utf8-headers", raw_utf8_headers),
    ("english-plain", english_plain),
    ("iso2022jp-reply-quoted-name", iso2022jp_reply_quoted_name),
    ("euc-jp", euc_jp),
    ("forwarded-message", forwarded_message),
    ("nested-with-image", nested_with_image),
    ("long-rfc2231-file-name", long_rfc2231_file_name),
    ("unicode-beyond-cp932", unicode_beyond_cp932),
    ("latin1-q-lower-case", latin1_and_q_lower_case),
    ("no-mime-headers-iso2022jp", no_mime_headers_iso2022jp),
    ("html-iso2022jp-entities", html_with_iso2022jp_and_entities),
]


def message_bytes(msg):
    data = msg.as_bytes(policy=msg.policy.clone(linesep="\r\n"))
    data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")  # every line CR LF, as the host gives it
    return data if data.endswith(b"\r\n") else data + b"\r\n"


def mbox_entry(data):
    quoted = re.sub(rb"(?m)^(>*From )", rb">\1", data)
    return SEPARATOR + quoted + b"\r\n"


def main():
    os.makedirs(CORPUS, exist_ok=True)
    mailbox = b""
    for number, (kind, make) in enumerate(MESSAGES, start=1):
        msg, expected_text = make()
        data = message_bytes(msg)
        stem = os.path.join(CORPUS, "%02d-%s" % (number, kind))
        with open(stem + ".eml", "wb") as f:
            f.write(data)
        with open(stem + ".expected", "wb") as f:
            f.write(expected_text)
        if number <= MAILBOX_MESSAGES:
            mailbox += mbox_entry(data)
    with open(MAILBOX, "wb") as f:
        f.write(mailbox)


if __name__ == "__main__":
    main()
