#include "app/json/SummaryFile.h"

#include "app/json/JsonSummary.h"
#include "app/texts/UserMessages.h"

namespace orvanta {

bool SummaryFile::open(std::string path, const RunSummary& summary) {
    path_ = std::move(path);
    return write(summary);
}

bool SummaryFile::write(const RunSummary& summary) {
    return path_.empty() || WriteJsonFile(files_, path_, SummaryDocument(summary));
}

Message SummaryNotWritableMessage(const std::string& path) {
    return {"/json 指定的文件“" + path + "”无法写入：请确认它所在的文件夹存在，并且可以写入。\r\n没有做任何更改。",
            WarningTitle, MessageStyle::Warning};
}

std::string SummaryNotUpdatedLine(const std::string& path) {
    return "无法写入 /json 指定的文件“" + path + "”：其中的内容不是最后的结果。";
}

} // namespace orvanta
