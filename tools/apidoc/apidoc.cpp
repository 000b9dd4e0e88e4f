#include "apidoc.hpp"

#include <cstddef>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string_view>

namespace vorlune::apidoc {
namespace {

const std::set<std::string, std::less<>> kTypes = {"integer", "number", "string", "boolean",
                                                   "image",   "sprite", "sound",  "music"};

std::string Trim(std::string_view s) {
    std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) return "";
    std::size_t e = s.find_last_not_of(" \t");
    return std::string(s.substr(b, e - b + 1));
}

// Drops empty lines at both ends of a block of text.
std::string TrimBlock(const std::string& s) {
    std::size_t b = 0;
    while (b < s.size()) {
        std::size_t nl = s.find('\n', b);
        if (nl == std::string::npos || Trim(std::string_view(s).substr(b, nl - b)) != "") break;
        b = nl + 1;
    }
    std::size_t e = s.size();
    while (e > b && (s[e - 1] == '\n' || s[e - 1] == ' ')) --e;
    return s.substr(b, e - b);
}

std::vector<std::string> Split(const std::string& s, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t at = s.find(separator, start);
        parts.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return parts;
        start = at + 1;
    }
}

bool ValidType(const std::string& type) {
    for (const std::string& part : Split(type, '|')) {
        if (!kTypes.count(part)) return false;
    }
    return !type.empty();
}

bool ValidName(const std::string& name) {
    if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
    for (char c : name) {
        if (!(c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
}

void ReplaceAll(std::string* s, std::string_view from, std::string_view to) {
    for (std::size_t at = s->find(from); at != std::string::npos; at = s->find(from, at + to.size())) {
        s->replace(at, from.size(), to);
    }
}

// Parses "NAME(P: T, ...): R" into f; returns an error message or "".
std::string ParseSignature(const std::string& signature, Function* f) {
    std::size_t open = signature.find('(');
    std::size_t close = signature.find(')');
    if (open == std::string::npos || close == std::string::npos || close < open) return "expected NAME(PARAMS)";
    f->name = Trim(signature.substr(0, open));
    if (!ValidName(f->name)) return "bad function name \"" + f->name + "\"";
    std::string params = Trim(signature.substr(open + 1, close - open - 1));
    if (!params.empty()) {
        for (const std::string& p : Split(params, ',')) {
            std::size_t colon = p.find(':');
            if (colon == std::string::npos) return "parameter \"" + Trim(p) + "\" has no type";
            Param param{Trim(p.substr(0, colon)), Trim(p.substr(colon + 1))};
            if (!ValidName(param.name)) return "bad parameter name \"" + param.name + "\"";
            if (!ValidType(param.type)) return "unknown type \"" + param.type + "\"";
            f->params.push_back(param);
        }
    }
    std::string rest = Trim(signature.substr(close + 1));
    if (!rest.empty()) {
        if (rest[0] != ':') return "expected \": RESULT\" after the parameters";
        f->result = Trim(rest.substr(1));
        if (!ValidType(f->result)) return "unknown type \"" + f->result + "\"";
    }
    return "";
}

std::string DefaultResultText(const std::string& result) {
    if (result.empty()) return "—";
    if (result == "image" || result == "sprite" || result == "sound" || result == "music") return result + " handle";
    return result;
}

std::string ParamNames(const Function& f, const char* separator) {
    std::string s;
    for (std::size_t i = 0; i < f.params.size(); ++i) s += (i ? separator : "") + f.params[i].name;
    return s;
}

std::string CallForm(const Function& f) { return f.name + "(" + ParamNames(f, ", ") + ")"; }

// The functions of a section, cut into the runs that share a heading.
std::vector<std::vector<const Function*>> Headings(const Section& s) {
    std::vector<std::vector<const Function*>> groups;
    for (const Function& f : s.functions) {
        if (groups.empty() || groups.back().front()->heading != f.heading) groups.emplace_back();
        groups.back().push_back(&f);
    }
    return groups;
}

std::string LuaType(const std::string& type) {
    std::string out;
    for (const std::string& part : Split(type, '|')) {
        if (!out.empty()) out += "|";
        if (part == "image") out += "vorlune.Image";
        else if (part == "sprite") out += "vorlune.Sprite";
        else if (part == "sound") out += "vorlune.Sound";
        else if (part == "music") out += "vorlune.Music";
        else out += part;
    }
    return out;
}

// Markdown inline text as roff: `code` and **strong** in bold, roff's own
// characters escaped.
std::string Roff(const std::string& markdown) {
    std::string out;
    bool bold = false;
    for (std::size_t i = 0; i < markdown.size(); ++i) {
        char c = markdown[i];
        if (c == '`' || (c == '*' && i + 1 < markdown.size() && markdown[i + 1] == '*')) {
            if (c == '*') ++i;
            out += bold ? "\\fR" : "\\fB";
            bold = !bold;
        } else if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else if (markdown.compare(i, 2, "×") == 0) {
            out += "\\(mu";
            i += 1;
        } else if (markdown.compare(i, 3, "–") == 0) {
            out += "\\(en";
            i += 2;
        } else if (markdown.compare(i, 3, "—") == 0) {
            out += "\\(em";
            i += 2;
        } else {
            out += c;
        }
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
    return out;
}

std::string ReadFile(const std::string& path, bool* ok) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    *ok = static_cast<bool>(in);
    return buffer.str();
}

}  // namespace

std::string DefaultUsage(const Function& f) {
    return f.params.empty() ? "" : "Usage: " + f.name + " (" + ParamNames(f, ",") + ")";
}

Description ParseDescription(const std::string& text) {
    Description d;
    std::vector<std::string> lines = Split(text, '\n');
    std::string* target = nullptr;  // where text lines go
    std::string pendingText;        // text after the latest function
    std::vector<std::size_t> group;  // functions of the last section waiting for their text
    std::size_t groupLine = 0;
    std::set<std::string> names;
    int heading = 0;
    auto error = [&d](std::size_t line, const std::string& what) {
        d.errors.push_back("line " + std::to_string(line + 1) + ": " + what);
    };
    // Ends the text of the latest function. Functions without text wait for
    // the text of the next one and share its heading; a section's last
    // function must have text.
    auto closeText = [&](bool sectionEnds) {
        if (group.empty()) return;
        std::string block = TrimBlock(pendingText);
        pendingText.clear();
        if (block.empty() && !sectionEnds) return;
        Section& s = d.sections.back();
        if (block.empty()) error(groupLine, s.functions[group.back()].name + " has no reference text");
        for (std::size_t k : group) {
            s.functions[k].text = block;
            s.functions[k].heading = heading;
        }
        ++heading;
        group.clear();
    };

    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.rfind("%%", 0) == 0) continue;
        if (line.rfind("@", 0) != 0) {
            if (target) *target += line + "\n";
            else if (Trim(line) != "") error(i, "text outside any record");
            continue;
        }
        std::size_t space = line.find(' ');
        std::string directive = line.substr(1, space == std::string::npos ? std::string::npos : space - 1);
        std::string argument = space == std::string::npos ? "" : Trim(line.substr(space + 1));
        if (directive == "page") {
            closeText(true);
            target = &d.page;
        } else if (directive == "section") {
            closeText(true);
            d.sections.push_back(Section{argument, "", {}});
            target = &d.sections.back().intro;
        } else if (directive == "function") {
            closeText(false);
            if (d.sections.empty()) {
                error(i, "function outside any section");
                d.sections.push_back(Section{});
            }
            Function f;
            if (std::string problem = ParseSignature(argument, &f); !problem.empty()) error(i, problem);
            if (!names.insert(f.name).second) error(i, f.name + " is described twice");
            bool hasUsage = false;
            std::size_t first = i;
            for (++i; i < lines.size() && Trim(lines[i]) != "" && lines[i][0] != '@'; ++i) {
                std::size_t colon = lines[i].find(':');
                std::string key = colon == std::string::npos ? "" : Trim(lines[i].substr(0, colon));
                std::string value = colon == std::string::npos ? "" : Trim(lines[i].substr(colon + 1));
                if (key == "brief") {
                    f.brief = value;
                } else if (key == "usage") {
                    f.usage = value;
                    hasUsage = true;
                } else if (key == "result") {
                    f.resultText = value;
                } else if (key == "row" && value == "with previous") {
                    f.sharesRow = true;
                } else {
                    error(i, "unknown attribute \"" + key + "\"");
                }
            }
            if (i < lines.size() && lines[i][0] == '@') --i;  // the next record follows at once
            if (f.brief.empty()) error(first, f.name + " has no brief");
            if (!hasUsage) f.usage = DefaultUsage(f);
            if (f.resultText.empty()) f.resultText = DefaultResultText(f.result);
            d.sections.back().functions.push_back(f);
            group.push_back(d.sections.back().functions.size() - 1);
            groupLine = first;
            target = &pendingText;
        } else {
            error(i, "unknown record @" + directive);
        }
    }
    closeText(true);

    // {usage:NAME} in any text stands for that function's usage message.
    std::map<std::string, std::string> usages;
    for (const Function* f : AllFunctions(d)) usages[f->name] = f->usage;
    auto expand = [&](std::string* s) {
        for (std::size_t at = s->find("{usage:"); at != std::string::npos; at = s->find("{usage:", at)) {
            std::size_t end = s->find('}', at);
            std::string name = end == std::string::npos ? "" : s->substr(at + 7, end - at - 7);
            auto found = usages.find(name);
            if (found == usages.end()) {
                d.errors.push_back("{usage:" + name + "} names no function");
                at += 7;
                continue;
            }
            s->replace(at, end - at + 1, found->second);
            at += found->second.size();
        }
    };
    expand(&d.page);
    for (Section& s : d.sections) {
        expand(&s.intro);
        for (Function& f : s.functions) expand(&f.text);
    }
    return d;
}

std::vector<const Function*> AllFunctions(const Description& d) {
    std::vector<const Function*> all;
    for (const Section& s : d.sections) {
        for (const Function& f : s.functions) all.push_back(&f);
    }
    return all;
}

std::string WriteReference(const Description& d) {
    std::vector<std::string> blocks{TrimBlock(d.page)};
    for (const Section& s : d.sections) {
        blocks.push_back("---");
        blocks.push_back("## " + s.title);
        auto groups = Headings(s);
        if (!groups.empty()) {
            // One row per run of functions that take the same parameters and
            // give the same result, under one heading or marked to share the
            // row with the function before.
            std::string table = "| function | arguments | result |\n|---|---|---|";
            const std::vector<Function>& fs = s.functions;
            for (std::size_t k = 0; k < fs.size();) {
                std::size_t e = k + 1;
                while (e < fs.size() && ParamNames(fs[e], ", ") == ParamNames(fs[k], ", ") &&
                       fs[e].resultText == fs[k].resultText &&
                       (fs[e].heading == fs[e - 1].heading || fs[e].sharesRow)) {
                    ++e;
                }
                std::string names;
                for (std::size_t j = k; j < e; ++j) names += (j > k ? ", `" : "`") + fs[j].name + "`";
                std::string args = fs[k].params.empty() ? "—" : ParamNames(fs[k], ", ");
                table += "\n| " + names + " | " + args + " | " + fs[k].resultText + " |";
                k = e;
            }
            blocks.push_back(table);
        }
        if (!TrimBlock(s.intro).empty()) blocks.push_back(TrimBlock(s.intro));
        for (const auto& g : groups) {
            std::string head = "####";
            for (std::size_t j = 0; j < g.size(); ++j) head += (j ? ", `" : " `") + CallForm(*g[j]) + "`";
            blocks.push_back(head + "\n" + g.front()->text);
        }
    }
    std::string out;
    for (const std::string& b : blocks) out += (out.empty() ? "" : "\n\n") + b;
    return out + "\n";
}

std::string WriteAnnotations(const Description& d, const std::string& version) {
    std::string out =
        "---@meta vorlune\n"
        "-- The script functions of Vorlune " + version + ", for the Lua language server.\n"
        "-- Written from docs/api/functions.txt by tools/apidoc: edit that file instead.\n"
        "\n"
        "---An image in memory (`loadimage`): for making sprites, the colour key and window icons.\n"
        "---@class vorlune.Image\n"
        "\n"
        "---A picture held by a window's renderer (`loadsprite`, `createsprite`): what you draw.\n"
        "---@class vorlune.Sprite\n"
        "\n"
        "---A sound effect (`loadsound`).\n"
        "---@class vorlune.Sound\n"
        "\n"
        "---Music (`loadmusic`).\n"
        "---@class vorlune.Music\n";
    for (const Section& s : d.sections) {
        if (s.functions.empty()) continue;
        out += "\n-- " + s.title + "\n";
        for (const Function& f : s.functions) {
            out += "\n---" + f.brief + "\n---\n";
            for (const std::string& line : Split(f.text, '\n')) out += line.empty() ? "---\n" : "---" + line + "\n";
            if (!f.usage.empty() && f.text.find(f.usage) == std::string::npos) {
                out += "---\n---Usage text: `" + f.usage + "`\n";
            }
            for (const Param& p : f.params) out += "---@param " + p.name + " " + LuaType(p.type) + "\n";
            if (!f.result.empty()) {
                out += "---@return " + LuaType(f.result);
                out += f.resultText == f.result ? "\n" : " # " + f.resultText + "\n";
            }
            out += "function " + f.name + "(" + ParamNames(f, ", ") + ") end\n";
        }
    }
    return out;
}

std::string WriteManPage(const Description& d, const std::string& pageTemplate, const std::string& version) {
    std::string functions;
    for (const Section& s : d.sections) {
        if (s.functions.empty()) continue;
        functions += ".SS " + Roff(s.title) + "\n";
        for (const Function& f : s.functions) {
            functions += ".TP\n\\fB" + f.name + "\\fR(";
            for (std::size_t i = 0; i < f.params.size(); ++i) {
                functions += (i ? ", \\fI" : "\\fI") + f.params[i].name + "\\fR";
            }
            functions += ")";
            if (!f.result.empty()) functions += " \\(-> " + Roff(f.resultText);
            functions += "\n" + Roff(f.brief) + "\n";
        }
    }
    std::string out = pageTemplate;
    ReplaceAll(&out, "@VERSION@", version);
    ReplaceAll(&out, "@FUNCTIONS@\n", functions);
    return out;
}

std::vector<OutputFile> GenerateAll(const std::string& sourceDir, std::vector<std::string>* errors) {
    bool ok = true;
    auto read = [&](const std::string& relative) {
        bool readOk = false;
        std::string text = ReadFile(sourceDir + "/" + relative, &readOk);
        if (!readOk) errors->push_back("cannot read " + sourceDir + "/" + relative);
        ok = ok && readOk;
        return text;
    };
    std::string description = read("docs/api/functions.txt");
    std::string vorlunePage = read("docs/api/vorlune.6.in");
    std::string bindPage = read("docs/api/vorlune-bind.6.in");
    std::string cmake = read("CMakeLists.txt");
    if (!ok) return {};

    std::string version;
    std::size_t at = cmake.find("project(vorlune VERSION ");
    if (at != std::string::npos) {
        at += std::string_view("project(vorlune VERSION ").size();
        version = cmake.substr(at, cmake.find_first_of(" )", at) - at);
    }
    if (version.empty()) errors->push_back("no project version in CMakeLists.txt");

    Description d = ParseDescription(description);
    for (const std::string& e : d.errors) errors->push_back("docs/api/functions.txt " + e);
    if (!errors->empty()) return {};
    return {
        {"docs/api.md", WriteReference(d)},
        {"share/meta/vorlune.lua", WriteAnnotations(d, version)},
        {"share/man/vorlune.6", WriteManPage(d, vorlunePage, version)},
        {"share/man/vorlune-bind.6", WriteManPage(d, bindPage, version)},
    };
}

}  // namespace vorlune::apidoc
