#include "io/online_save.h"

#include <filesystem>

#include "io/file_names.h"
#include "io/html_export.h"
#include "io/kv4_file.h"
#include "io/text_encoding.h"

namespace kv {

namespace {

// Only what can end or change the content of a textarea needs escaping there.
std::string EscapeTextarea(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else
      out += c;
  }
  return out;
}

}  // namespace

std::string OnlineSavePageText(std::string_view figureFileText, std::string_view url,
                               const Translator& tr) {
  const std::string q = "\"";
  std::string page;
  page.reserve(figureFileText.size() + 2048);
  auto line = [&](std::string_view text) {
    page.append(text);
    page += "\r\n";
  };
  auto T = [&](std::string_view japanese) { return std::string(tr(japanese)); };
  line("<HTML>");
  // The file is written in the figure file's encoding; saying so lets any browser show the
  // page and post the form the way the server has always received it.
  line("<HEAD><META http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\"></HEAD>");
  line("<BODY>");
  line("<center><h2>" + T("KVデータのオンライン保存") + "</h2></center>");
  line(T("あなたが作成したKVデータをWWWサーバに書き込み，インターネットを経由して他の学校の授業など"
         "いろいろな場面で使えるようにします。") +
       "<br>");
  line(T("下記の内容を書き込んで「送信」ボタンを押してください。") + "<br>");
  line("<form action=" + q + HtmlEscape(url) + q + " METHOD=" + q + "post" + q + " NAME=" + q +
       "form1" + q + ">");
  line("<table>");
  line("<tr><th>" + T("タイトル") + "<td><input name=" + q + "title" + q + " style=" + q +
       "width:400px " + q + "><br>");
  line("<tr><th>" + T("あなたの名前") + "<td><input name=" + q + "username" + q + "><br>");
  line("<tr><th>" + T("学校/学年など") + "<td><input name=" + q + "schoolname" + q + " style=" + q +
       "width:400px " + q + "><br>");
  line("<tr><th>" + T("コメント") + "<td><textarea name=" + q + "comment" + q + " style=" + q +
       "width:400px ; height:100px" + q + "></textarea><br>");
  line("</table>");
  line("<textarea name=" + q + "kv_data" + q + " style=" + q + "width:1px; height:1px" + q +
       " ReadOnly>");
  // The file text ends with its own line end.
  page += EscapeTextarea(figureFileText);
  if (!figureFileText.empty() && figureFileText.back() != '\n') page += "\r\n";
  line("</textarea><br>");
  line("<INPUT TYPE=" + q + "Submit" + q + " name=" + q + "submitbutton" + q + " VALUE=" + q +
       "送信" + q + ">");
  line("</form>");
  line("</BODY>");
  line("</HTML>");
  return page;
}

std::string WriteOnlineSavePage(const Figure& fig, std::string_view url,
                                const std::string& programFolder, const Translator& tr,
                                std::string& pagePath) {
  pagePath = (std::filesystem::path(programFolder) / kOnlineSavePageName).string();
  const std::string page = OnlineSavePageText(FigureFileText(fig), url, tr);
  return WriteFileAtomically(pagePath, Utf8ToShiftJis(page));
}

}  // namespace kv
