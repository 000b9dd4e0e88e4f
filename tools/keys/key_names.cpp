#include "key_names.hpp"

#include <cctype>
#include <map>
#include <set>
#include <string_view>

#include <SDL.h>

namespace vorlune::keynames {
namespace {

// Keys named by a symbol get the word SDL's own scancode constants use.
const std::map<std::string, std::string, std::less<>> kSymbols = {
    {"-", "minus"},        {"=", "equals"},      {"[", "leftbracket"},  {"]", "rightbracket"},
    {"\\", "backslash"},   {"#", "hash"},        {";", "semicolon"},    {"'", "apostrophe"},
    {"`", "grave"},        {",", "comma"},       {".", "period"},       {"/", "slash"},
};
const std::map<std::string, std::string, std::less<>> kKeypadSymbols = {
    {"/", "divide"},        {"*", "multiply"},      {"-", "minus"},        {"+", "plus"},
    {".", "period"},        {"=", "equals"},        {",", "comma"},        {"= (AS400)", "equalsas400"},
    {"(", "leftparen"},     {")", "rightparen"},    {"{", "leftbrace"},    {"}", "rightbrace"},
    {"^", "power"},         {"%", "percent"},       {"<", "less"},         {">", "greater"},
    {"&", "ampersand"},     {"&&", "dblampersand"}, {"|", "verticalbar"},  {"||", "dblverticalbar"},
    {":", "colon"},         {"#", "hash"},          {"@", "at"},           {"!", "exclam"},
    {"+/-", "plusminus"},
};
const std::set<std::string, std::less<>> kLuaKeywords = {
    "and", "break", "do", "else", "elseif", "end", "false", "for", "function", "goto", "if",
    "in", "local", "nil", "not", "or", "repeat", "return", "then", "true", "until", "while"};

// Lower case, every run of other characters than letters and digits one
// underscore.
std::string Words(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else if (!out.empty() && out.back() != '_') {
            out += '_';
        }
    }
    while (!out.empty() && out.back() == '_') out.pop_back();
    return out;
}

std::string NameFor(std::string_view sdlName) {
    constexpr std::string_view kKeypad = "Keypad ";
    if (sdlName.substr(0, kKeypad.size()) == kKeypad) {
        std::string_view rest = sdlName.substr(kKeypad.size());
        auto symbol = kKeypadSymbols.find(rest);
        return "kp_" + (symbol != kKeypadSymbols.end() ? symbol->second : Words(rest));
    }
    auto symbol = kSymbols.find(sdlName);
    return symbol != kSymbols.end() ? symbol->second : Words(sdlName);
}

bool IsIdentifier(const std::string& name) {
    return !name.empty() && !std::isdigit(static_cast<unsigned char>(name[0]));
}

std::string LuaKey(const std::string& name) {
    return IsIdentifier(name) ? name : "[\"" + name + "\"]";
}

std::string Index(const std::string& name) {
    return IsIdentifier(name) ? "key." + name : "key[\"" + name + "\"]";
}

// The SDL name as code in a Markdown table cell.
std::string MarkdownCell(const std::string& s) {
    std::string escaped;
    for (char c : s) escaped += c == '|' ? std::string("\\|") : std::string(1, c);
    return s.find('`') == std::string::npos ? "`" + escaped + "`" : "`` " + escaped + " ``";
}

}  // namespace

std::vector<KeyName> ScancodeNames() {
    std::vector<KeyName> keys;
    std::set<std::string> taken;
    for (int code = 0; code < SDL_NUM_SCANCODES; ++code) {
        const char* sdlName = SDL_GetScancodeName(static_cast<SDL_Scancode>(code));
        if (!sdlName || !*sdlName) continue;
        std::string name = NameFor(sdlName);
        if (name.empty()) continue;
        if (taken.count(name)) name += '2';
        while (taken.count(name)) name += '_';
        taken.insert(name);
        if (kLuaKeywords.count(name)) name += '_';
        keys.push_back(KeyName{name, code, sdlName});
    }
    return keys;
}

std::vector<OutputFile> KeyFiles() {
    std::vector<KeyName> keys = ScancodeNames();
    std::string version = std::to_string(SDL_MAJOR_VERSION) + "." + std::to_string(SDL_MINOR_VERSION) + "." +
                          std::to_string(SDL_PATCHLEVEL);

    std::string table =
        "// The vorlune.keys module: scancodes by name, written by tools/keys from the\n"
        "// scancode names of SDL " + version + ". Regenerate with the keys-table target.\n";
    for (const KeyName& k : keys) table += "{\"" + k.name + "\", " + std::to_string(k.scancode) + "},\n";

    std::string meta =
        "---@meta vorlune.keys\n"
        "-- local key = require(\"vorlune.keys\"): scancodes by name for getkey and keystate.\n"
        "-- Written by tools/keys from the scancode names of SDL " + version + ".\n"
        "\n"
        "---@class vorlune.keys\n"
        "local key = {\n";
    for (const KeyName& k : keys) meta += "    " + LuaKey(k.name) + " = " + std::to_string(k.scancode) + ",\n";
    meta += "}\n\nreturn key\n";

    std::string doc =
        "# Key names\n"
        "\n"
        "`require(\"vorlune.keys\")` returns a table of scancodes by name, the values\n"
        "`getkey` returns and `keystate` takes:\n"
        "\n"
        "```lua\n"
        "local key = require(\"vorlune.keys\")\n"
        "while getkey() ~= key.escape do\n"
        "  if keystate(key.left) then x = x - 2 end\n"
        "  if keystate(key.right) then x = x + 2 end\n"
        "  ...\n"
        "end\n"
        "```\n"
        "\n"
        "The module is built into the interpreter, so it is found from any script\n"
        "directory and in games bound with `vorlune-bind`, and it adds no global.\n"
        "Each `require` in one run returns the same table.\n"
        "\n"
        "The names are SDL's key names (SDL " + version + "), changed by these rules:\n"
        "\n"
        "- Lower case, and every run of spaces or other characters that are not\n"
        "  letters or digits becomes one underscore: `Left Ctrl` is `left_ctrl`,\n"
        "  `PageUp` is `pageup`, `AC Back` is `ac_back`.\n"
        "- Keypad keys start with `kp_`: `Keypad 7` is `kp_7`, `Keypad Enter` is\n"
        "  `kp_enter`.\n"
        "- Keys named by a symbol get a word: `-` `minus`, `=` `equals`, `[`\n"
        "  `leftbracket`, `]` `rightbracket`, `\\` `backslash`, `#` `hash`, `;`\n"
        "  `semicolon`, `'` `apostrophe`, `` ` `` `grave`, `,` `comma`, `.` `period`,\n"
        "  `/` `slash`; on the keypad `/` `divide`, `*` `multiply`, `-` `minus`,\n"
        "  `+` `plus`, `.` `period`, `(` `leftparen`, `{` `leftbrace`, `^` `power`,\n"
        "  `&&` `dblampersand`, `+/-` `plusminus` and so on, as in the table below.\n"
        "- Names that are Lua keywords get an underscore: `key.return_` (Return,\n"
        "  40) and `key.end_` (End, 77).\n"
        "- A name already given to a lower scancode gets a `2`: `return2` is the\n"
        "  second Return key (158).\n"
        "- The digit keys keep their digit: `key[\"1\"]` is 30, `key[\"0\"]` is 39.\n"
        "\n"
        "| name | scancode | SDL name |\n"
        "|---|---|---|\n";
    for (const KeyName& k : keys) {
        doc += "| `" + Index(k.name) + "` | " + std::to_string(k.scancode) + " | " + MarkdownCell(k.sdlName) + " |\n";
    }

    return {
        {"src/script/keys_table.inc", table},
        {"share/meta/vorlune/keys.lua", meta},
        {"docs/keys.md", doc},
    };
}

}  // namespace vorlune::keynames
