// Whole messages: the form of the result, the structures, HTML, and broken
// input, which never fails and gives its bytes as they came.
#include <gtest/gtest.h>

#include <string>

#include "mime/html_text.h"
#include "mime/mime_message.h"

namespace mime {
namespace {

std::string Decode(const std::string& message) {
    std::string decoded;
    EXPECT_TRUE(DecodeMimeMessage(message.c_str(), decoded));
    return decoded;
}

std::string Multipart(const std::string& type, const std::string& parts) {
    return "Subject: s\r\nContent-Type: multipart/" + type + "; boundary=\"b\"\r\n\r\npreamble\r\n" + parts;
}

const std::string kPlainPart = "--b\r\nContent-Type: text/plain; charset=utf-8\r\n\r\n" + std::string(u8"本文") + "\r\n";
const std::string kHtmlPart = "--b\r\nContent-Type: text/html\r\n\r\n<p>html&amp;</p>\r\n";

struct MessageCase {
    const char* what;
    std::string message;
    std::string expected;
};

const MessageCase kMessages[] = {
    {"only the three headers, in their order, whatever the letter case",
     "X-Mailer: m\r\ndate: d\r\nSUBJECT: s\r\nFrom: f\r\n\r\nbody\r\n", "Subject: s\r\nFrom: f\r\nDate: d\r\n\r\nbody\r\n"},
    {"a missing header stays missing", "From: f\r\n\r\nbody", "From: f\r\n\r\nbody\r\n"},
    {"the last of two wins", "Subject: one\r\nSubject: two\r\n\r\n", "Subject: two\r\n\r\n"},
    {"folded plain text keeps its blank", "Subject: Hello\r\n world\r\n\r\n", "Subject: Hello world\r\n\r\n"},
    {"every line end becomes CR LF, NUL goes", "Subject: s\r\n\r\na\nb\rc\r\n", "Subject: s\r\n\r\na\r\nb\r\nc\r\n"},
    {"no empty line: all header", "Subject: s\r\nFrom: f\r\n", "Subject: s\r\nFrom: f\r\n\r\n"},
    {"empty", "", "\r\n\r\n"},
    {"none of the three: the whole body stays after the empty header",
     "MIME-Version: 1.0\r\nContent-Type: text/plain\r\n\r\nAttachment Test\r\n\r\nmore\r\n",
     "\r\n\r\nAttachment Test\r\n\r\nmore\r\n"},
    {"a part without its empty line keeps its text",
     Multipart("mixed", "--b\r\nHello world\r\nline 2\r\n--b\r\nContent-Type: text/plain\r\ntext\r\n--b--"),
     "Subject: s\r\n\r\nHello world\r\nline 2\r\n\r\ntext\r\n"},
    {"a field name may hold blanks and symbols when the header goes on after it",
     "Subject : s\r\nContent-Type: text/plain; charset=utf-8\r\nX-Form/v2\t (draft) \"#1\": on\r\n"
     "Content-Transfer-Encoding: base64\r\n\r\n5pys5paH\r\n",
     "Subject: s\r\n\r\n本文\r\n"},
    {"beside it, a part without its empty line keeps a first line that looks so",
     Multipart("mixed", "--b\r\nContent-Type: text/plain\r\nDear all: hello\r\nline 2\r\n--b\r\nTime to go: now\r\n--b--"),
     "Subject: s\r\n\r\nDear all: hello\r\nline 2\r\n\r\nTime to go: now\r\n"},
    {"white space lines before the first field are passed over",
     " by mx.example.jp\r\n\tfor <a@example.jp>\r\nSubject: s\r\n\r\nb", "Subject: s\r\n\r\nb\r\n"},
    {"beside it, a part without a header keeps its indented first lines",
     Multipart("mixed", "--b\r\n  indented\r\nline 2\r\n--b\r\n \r\n\r\nafter\r\n--b--"),
     "Subject: s\r\n\r\n  indented\r\nline 2\r\n\r\n \r\n\r\nafter\r\n"},
    {"an mbox separator at the head is no text", "From a@example.jp Mon Dec  7 09:00:00 2026\r\nSubject: s\r\n\r\nb",
     "Subject: s\r\n\r\nb\r\n"},
    {"a byte-order mark before the header and before a part's is passed over",
     "\xEF\xBB\xBFSubject: s\r\nContent-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\n\xEF\xBB\xBF"
     "Content-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: base64\r\n\r\n5pys5paH\r\n--b--",
     "Subject: s\r\n\r\n本文\r\n"},
    {"alternative gives its plain text", Multipart("alternative", kHtmlPart + kPlainPart + "--b--\r\n"),
     "Subject: s\r\n\r\n本文\r\n"},
    {"alternative without plain text gives its HTML", Multipart("alternative", kHtmlPart + "--b--\r\n"),
     "Subject: s\r\n\r\nhtml&\r\n"},
    {"a branch holding plain text, however deep, wins over a later one of HTML",
     Multipart("alternative",
               "--b\r\nContent-Type: multipart/mixed; boundary=m\r\n\r\n--m\r\n"
               "Content-Type: multipart/mixed; boundary=n\r\n\r\n--n\r\n\r\nplain\r\n--n--\r\n"
               "--m\r\nContent-Type: image/png\r\n\r\npng\r\n--m--\r\n--b\r\n"
               "Content-Type: multipart/related; boundary=r\r\n\r\n--r\r\nContent-Type: text/html\r\n\r\n"
               "<p>html</p>\r\n--r--\r\n--b--\r\n"),
     "Subject: s\r\n\r\nplain\r\n\r\n[添付ファイル: image/png (3 バイト)]\r\n"},
    {"of two branches holding plain text the last wins",
     Multipart("alternative",
               kPlainPart + "--b\r\nContent-Type: multipart/mixed; boundary=m\r\n\r\n--m\r\n\r\nlast\r\n--m--\r\n--b--"),
     "Subject: s\r\n\r\nlast\r\n"},
    {"mixed gives every part, an empty line between",
     Multipart("mixed", kPlainPart + kHtmlPart + "--b--\r\nepilogue\r\n"), "Subject: s\r\n\r\n本文\r\n\r\nhtml&\r\n"},
    {"a text part given as an attachment is named",
     Multipart("mixed", "--b\r\nContent-Disposition: attachment; filename=a.txt\r\n\r\n1234567\r\n--b--"),
     "Subject: s\r\n\r\n[添付ファイル: a.txt (7 バイト)]\r\n"},
    {"an unnamed part is named by its type",
     Multipart("mixed", "--b\r\nContent-Type: image/gif\r\nContent-Transfer-Encoding: base64\r\n\r\nR0lG\r\n--b--"),
     "Subject: s\r\n\r\n[添付ファイル: image/gif (3 バイト)]\r\n"},
    {"sizes are grouped by thousands",
     Multipart("mixed", "--b\r\nContent-Type: application/zip; name=z.zip\r\n\r\n" + std::string(1234567, 'z') +
                            "\r\n--b--"),
     "Subject: s\r\n\r\n[添付ファイル: z.zip (1,234,567 バイト)]\r\n"},
    {"a digest holds messages", Multipart("digest", "--b\r\n\r\nSubject: inner\r\n\r\ntext\r\n--b--"),
     "Subject: s\r\n\r\nSubject: inner\r\n\r\ntext\r\n"},
    {"a single-part attachment", "Subject: s\r\nContent-Type: application/pdf; name=\"p.pdf\"\r\n\r\n%PDF",
     "Subject: s\r\n\r\n[添付ファイル: p.pdf (4 バイト)]\r\n"},
    {"HTML names its charset in a meta element",
     "Content-Type: text/html\r\n\r\n<meta charset=\"EUC-JP\"><p>\xa4\xa2</p>", "\r\n\r\nあ\r\n"},
    // Broken input.
    {"bad base64 gives the bytes as they came",
     "Subject: s\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: base64\r\n\r\n44GC*!\r\n",
     "Subject: s\r\n\r\n44GC*!\r\n"},
    {"a truncated escape sequence",
     "Subject: =?ISO-2022-JP?B?GyRCJCIbJA==?=\r\nContent-Type: text/plain; charset=ISO-2022-JP\r\n\r\n\x1b$B$\"\x1b$",
     "Subject: あ $\r\n\r\nあ\x1b$\r\n"},
    {"a missing closing boundary ends the last part at the end", Multipart("mixed", kPlainPart + kHtmlPart),
     "Subject: s\r\n\r\n本文\r\n\r\nhtml&\r\n"},
    {"an alternative cut off after its HTML keeps its plain text",
     Multipart("alternative", kPlainPart + kHtmlPart + "--b\r\n"), "Subject: s\r\n\r\n本文\r\n"},
    {"an empty plain part after the text is passed over",
     Multipart("alternative", kPlainPart + kHtmlPart + "--b\r\nContent-Type: text/plain\r\n\r\n \r\n--b--"),
     "Subject: s\r\n\r\n本文\r\n"},
    {"an unknown charset leaves the bytes",
     "Subject: s\r\nContent-Type: text/plain; charset=x-user-defined\r\n\r\n\xf0\xd2\xc9\r\n",
     "Subject: s\r\n\r\n\xf0\xd2\xc9\r\n"},
    {"a charset of the platform's tables",
     "Subject: s\r\nContent-Type: text/plain; charset=KOI8-R\r\n\r\n\xdb\xcf\xd3\xd4\xc9\xca\r\n",
     "Subject: s\r\n\r\nшостий\r\n"},
    {"a multipart without a boundary parameter is read as text",
     "Content-Type: multipart/mixed\r\n\r\n--x\r\n" + std::string(u8"本文") + "\r\n", "\r\n\r\n--x\r\n本文\r\n"},
    {"a multipart without its delimiter lines is read as text",
     "Content-Type: multipart/mixed; boundary=q\r\n\r\nno parts\r\n", "\r\n\r\nno parts\r\n"},
    {"a type without a subtype is text", "Content-Type: text\r\n\r\nbody", "\r\n\r\nbody\r\n"},
    {"an empty boundary finds no parts", "Content-Type: multipart/mixed; boundary=\"\"\r\n\r\n--\r\nx", "\r\n\r\n--\r\nx\r\n"},
};

TEST(MimeMessageTest, MessagesDecode) {
    for (const MessageCase& c : kMessages) EXPECT_EQ(Decode(c.message), c.expected) << c.what;
}

TEST(MimeMessageTest, NestingBeyondReasonEndsInANote) {
    std::string message = "Content-Type: multipart/mixed; boundary=b0\r\n\r\n";
    for (int depth = 0; depth < 5000; ++depth) {
        message += "--b" + std::to_string(depth) + "\r\nContent-Type: multipart/mixed; boundary=b" +
                   std::to_string(depth + 1) + "\r\n\r\n";
    }
    // No header, and one note for everything below the deepest level read.
    const std::string decoded = Decode(message);
    EXPECT_EQ(decoded.find("\r\n\r\n[添付ファイル: multipart/mixed ("), 0u);
    EXPECT_EQ(decoded.find("[添付ファイル", 5), std::string::npos);
}

struct HtmlCase {
    const char* what;
    std::string html;
    std::string expected;
};

const HtmlCase kHtml[] = {
    {"br ends a line, a run of them one empty line", "a<br>b<BR/><br><br><br>c", "a\nb\n\nc\n"},
    {"blocks stand on their own lines", "<div>a</div><div>b</div><p>c</p><li>d<h2>e</h2>", "a\nb\nc\nd\ne\n"},
    {"source white space collapses", "  a \r\n\t b  <b>c</b>\n", "a b c\n"},
    {"pre keeps it", "<pre>a  b\n c</pre>d", "a  b\n c\nd\n"},
    {"script, style, title and comments go",
     "<title>t</title><style>x{}</style>a<script>if (a<b) x()</script><!-- c -->b", "ab\n"},
    {"entities", "&lt;&gt;&amp;&quot;&#39;&#x3042;&#12356;&hellip;&copy;&nbsp;.", "<>&\"'あい…〓 .\n"},
    {"unknown and broken entities stay", "&bogus; &#xZZ; & &amp", "&bogus; &#xZZ; & &amp\n"},
    {"an empty paragraph is an empty line", "<p>a</p><p>&nbsp;</p><p>b</p>", "a\n\nb\n"},
    {"table cells are parted", "<table><tr><td>a</td><td>b</td></tr></table>", "a b\n"},
    {"a quoted > inside a tag", "<a title=\"x>y\">link</a>", "link\n"},
    {"a lone < is text", "1 < 2", "1 < 2\n"},
    {"a tag cut off at the end", "a<div", "a\n"},
    {"a script never closed hides the rest", "a<script>b", "a\n"},
};

TEST(MimeMessageTest, HtmlAsText) {
    for (const HtmlCase& c : kHtml) EXPECT_EQ(HtmlToText(c.html), c.expected) << c.what;
}

}  // namespace
}  // namespace mime
