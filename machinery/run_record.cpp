// The run record "DIR/run.json".
#include "run_record.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "outputs.h"
#include "state.h"
#include "version.h"

namespace {

std::string Quote(const std::string& s) {
    std::string q = "\"";
    for (unsigned char ch : s) {
        if (ch == '"' || ch == '\\') {
            q += '\\';
            q += static_cast<char>(ch);
        } else if (ch < 0x20) {
            q += FormatString("\\u%04x", ch);
        } else {
            q += static_cast<char>(ch);
        }
    }
    return q + "\"";
}

std::string List(const std::vector<std::string>& items) {
    std::string s = "[";
    for (size_t k = 0; k < items.size(); k++) s += (k ? ", " : "") + Quote(items[k]);
    return s + "]";
}

// The fields of a record, one "key": value each, in file order.
std::vector<std::string> Fields(const RunRecord& r) {
    return {
        "\"program\": " + Quote(r.program),
        "\"version\": " + Quote(r.version),
        "\"command\": " + List(r.command),
        "\"threads\": " + std::to_string(r.threads),
        "\"start\": " + Quote(r.start),
        "\"first_step\": " + std::to_string(r.firstStep),
        "\"steps_requested\": " + std::to_string(r.stepsRequested),
        "\"steps_done\": " + std::to_string(r.stepsDone),
        "\"time\": " + FormatString("%.1f", r.stepsDone * DT),
        "\"state\": " + Quote(r.state),
        "\"wall_seconds\": " + FormatString("%.1f", r.wallSeconds),
        "\"failed_files\": " + List(r.failedFiles),
    };
}

}  // namespace

const char* ProgramVersion() { return ROOTSIM_VERSION; }

std::string RunRecordJson(const RunRecord& record) {
    std::string s = "{";
    const std::vector<std::string> f = Fields(record);
    for (size_t k = 0; k < f.size(); k++) s += (k ? ", " : "") + f[k];
    return s + "}";
}

std::vector<std::string> EarlierRunRecords(const std::string& path) {
    std::ifstream in(path);
    if (!in) return {};
    // The file as WriteRunRecord writes it: its own fields one per line, then
    // the history, one record per line.
    std::vector<std::string> history;
    std::string own, line;
    bool inHistory = false, seenHistory = false;
    while (std::getline(in, line)) {
        if (line == "{" || line == "}" || line == "  ]") continue;
        if (line == "  \"history\": [") {
            inHistory = seenHistory = true;
            continue;
        }
        if (line.size() > 1 && line.back() == ',') line.pop_back();
        if (inHistory) {
            if (line.rfind("    {", 0) != 0) return {};
            history.push_back(line.substr(4));
        } else {
            if (line.rfind("  \"", 0) != 0) return {};
            own += (own.empty() ? "" : ", ") + line.substr(2);
        }
    }
    if (!seenHistory || own.empty()) return {};
    // A run that never said how it ended was cut short.
    const std::string running = "\"state\": \"running\"";
    const size_t at = own.find(running);
    if (at != std::string::npos) own.replace(at, running.size(), "\"state\": \"interrupted\"");
    history.push_back("{" + own + "}");
    return history;
}

bool WriteRunRecord(const std::string& path, const RunRecord& record, const std::vector<std::string>& history) {
    std::string text = "{\n";
    for (const std::string& f : Fields(record)) text += "  " + f + ",\n";
    text += "  \"history\": [\n";
    for (size_t k = 0; k < history.size(); k++) text += "    " + history[k] + (k + 1 < history.size() ? ",\n" : "\n");
    text += "  ]\n}\n";
    WholeFile f(path);
    if (f.stream() == nullptr) return false;
    if (fwrite(text.data(), 1, text.size(), f.stream()) != text.size()) f.Failed(errno);
    return f.Commit();
}
