// The description of the script functions (docs/api/functions.txt) against
// the registry, and the files written from it and from SDL's key names
// against the copies in the source tree.
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <lua.hpp>

#include "apidoc.hpp"
#include "script/script_api.hpp"
#include "key_names.hpp"
#include "support/script_runner.hpp"

namespace vorlune::test {
namespace {

std::string SourceFile(const std::string& relative) {
    std::ifstream in(std::string(VORLUNE_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

apidoc::Description TheDescription() { return apidoc::ParseDescription(SourceFile("docs/api/functions.txt")); }

// Written files must equal the committed copies byte for byte.
template <typename File>
void ExpectCommitted(const std::vector<File>& files, const char* regenerate) {
    ASSERT_FALSE(files.empty());
    for (const File& file : files) {
        EXPECT_TRUE(SourceFile(file.path) == file.text)
            << file.path << " is out of date: " << regenerate;
    }
}

TEST(ApiDescription, DescribesEveryRegisteredFunctionWithItsArityAndUsage) {
    apidoc::Description d = TheDescription();
    for (const std::string& e : d.errors) ADD_FAILURE() << "docs/api/functions.txt " << e;

    std::map<std::string, const apidoc::Function*> described;
    for (const apidoc::Function* f : apidoc::AllFunctions(d)) described[f->name] = f;
    std::size_t registered = 0;
    for (const script::ApiEntry& entry : script::ScriptApiTable()) {
        ++registered;
        auto found = described.find(entry.name);
        if (found == described.end()) {
            ADD_FAILURE() << entry.name << " is registered but not described";
            continue;
        }
        EXPECT_EQ(static_cast<int>(found->second->params.size()), entry.arity) << entry.name;
        EXPECT_EQ(found->second->usage, entry.usage) << entry.name;
        described.erase(found);
    }
    for (const auto& [name, f] : described) ADD_FAILURE() << name << " is described but not registered";
    EXPECT_EQ(registered, 161u);
}

TEST(ApiDescription, ReferenceAnnotationsAndManPagesAreWrittenFromIt) {
    std::vector<std::string> errors;
    auto files = apidoc::GenerateAll(VORLUNE_SOURCE_DIR, &errors);
    for (const std::string& e : errors) ADD_FAILURE() << e;
    ExpectCommitted(files, "run cmake --build BUILD --target api-docs");
}

TEST(ApiDescription, KeyNamesAreWrittenFromSdlsScancodeNames) {
    ExpectCommitted(keynames::KeyFiles(), "run cmake --build BUILD --target keys-table");
}

// The language server reads the annotations as Lua: a parameter named like a
// keyword, or a key name that is no field name, would break them.
TEST(ApiDescription, AnnotationsCompileAsLua) {
    for (const char* file : {"share/meta/vorlune.lua", "share/meta/vorlune/keys.lua"}) {
        lua_State* L = luaL_newstate();
        std::string path = std::string(VORLUNE_SOURCE_DIR) + "/" + file;
        EXPECT_EQ(luaL_loadfile(L, path.c_str()), LUA_OK) << lua_tostring(L, -1);
        lua_close(L);
    }
}

TEST(ApiDescription, ManPageListsEveryOptionOfVorluneBindHelp) {
    TempDir dir;
    RunResult r = RunProgram({BindExe(), "--help"}, dir.path());
    ASSERT_EQ(r.status, 0);
    std::string page = SourceFile("share/man/vorlune-bind.6");
    std::string plain;  // roff's escaped hyphens as plain ones
    for (std::size_t i = 0; i < page.size(); ++i) {
        if (page.compare(i, 2, "\\-") == 0) ++i;
        plain += page[i];
    }
    std::istringstream help(r.out);
    int options = 0;
    for (std::string line; std::getline(help, line);) {
        std::size_t dash = line.find_first_not_of(' ');
        if (dash == std::string::npos || dash == 0 || line[dash] != '-') continue;
        std::string option = line.substr(dash, line.find(' ', dash) - dash);
        ++options;
        EXPECT_NE(plain.find(option), std::string::npos) << option << " is missing from vorlune-bind(6)";
    }
    EXPECT_GE(options, 3);
}

// A description with one mistake of each kind is refused with the line.
TEST(ApiDescription, MistakesInTheDescriptionAreReported) {
    const std::string good = "@section S\n@function f(x: integer): sprite\nbrief: b\n\nText.\n";
    struct Case {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {"@section S\n@function f(x: int)\nbrief: b\n\nText.\n", "line 2: unknown type \"int\""},
        {"@section S\n@function f(x)\nbrief: b\n\nText.\n", "line 2: parameter \"x\" has no type"},
        {"@section S\n@function f()\n\nText.\n", "line 2: f has no brief"},
        {"@section S\n@function f()\nbrief: b\nsee: g\n\nText.\n", "line 4: unknown attribute \"see\""},
        {good + "@function f()\nbrief: b\n\nMore.\n", "line 6: f is described twice"},
        {"@section S\n@function f()\nbrief: b\n\n@section T\n", "line 2: f has no reference text"},
        {"@section S\n@function f()\nbrief: b\n\nSee {usage:g}.\n", "{usage:g} names no function"},
        {"stray\n" + good, "line 1: text outside any record"},
    };
    EXPECT_TRUE(apidoc::ParseDescription(good).errors.empty());
    for (const Case& c : cases) {
        std::vector<std::string> errors = apidoc::ParseDescription(c.text).errors;
        ASSERT_EQ(errors.size(), 1u) << c.text;
        EXPECT_EQ(errors[0], c.error) << c.text;
    }
}

TEST(ApiDescription, FunctionsWithoutTextShareTheNextHeadingAndMatchingRowsMerge) {
    apidoc::Description d = apidoc::ParseDescription(
        "@page\n# Title\n"
        "@section Shapes\nAbout shapes.\n"
        "@function box(x: integer, y: integer)\nbrief: Outline.\n"
        "@function fillbox(x: integer, y: integer)\nbrief: Filled.\n\nBoxes at (x, y). {usage:fillbox}\n"
        "@function load(name: string): sprite\nbrief: Loads `name`.\nusage: load name\n\nLoads.\n");
    ASSERT_TRUE(d.errors.empty()) << d.errors[0];
    EXPECT_EQ(apidoc::WriteReference(d),
              "# Title\n\n---\n\n## Shapes\n\n"
              "| function | arguments | result |\n|---|---|---|\n"
              "| `box`, `fillbox` | x, y | — |\n| `load` | name | sprite handle |\n\n"
              "About shapes.\n\n"
              "#### `box(x, y)`, `fillbox(x, y)`\nBoxes at (x, y). Usage: fillbox (x,y)\n\n"
              "#### `load(name)`\nLoads.\n");
    std::string lua = apidoc::WriteAnnotations(d, "1.2.3");
    EXPECT_NE(lua.find("---Outline.\n---\n---Boxes at (x, y). Usage: fillbox (x,y)\n---\n"
                       "---Usage text: `Usage: box (x,y)`\n---@param x integer\n---@param y integer\n"
                       "function box(x, y) end\n"),
              std::string::npos) << lua;
    EXPECT_NE(lua.find("---@param name string\n---@return vorlune.Sprite # sprite handle\nfunction load(name) end\n"),
              std::string::npos) << lua;
    EXPECT_EQ(apidoc::WriteManPage(d, ".TH T @VERSION@\n@FUNCTIONS@\n.SH END\n", "1.2.3"),
              ".TH T 1.2.3\n.SS Shapes\n"
              ".TP\n\\fBbox\\fR(\\fIx\\fR, \\fIy\\fR)\nOutline.\n"
              ".TP\n\\fBfillbox\\fR(\\fIx\\fR, \\fIy\\fR)\nFilled.\n"
              ".TP\n\\fBload\\fR(\\fIname\\fR) \\(-> sprite handle\nLoads \\fBname\\fR.\n"
              ".SH END\n");
}

}  // namespace
}  // namespace vorlune::test
