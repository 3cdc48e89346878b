// The command table says, for each command, which message keys it shows and
// with how many texts, which variables it reads and writes, and whether it
// stores the condition. setupcheck checks scripts against those rows, so they
// must stay true to what the handlers do: each command runs here on the
// recording platform in the situations that make it show its texts, with
// every message key defined as a probe text that tells how it was shown, and
// with the variable store watched. What it looked up, showed, wrote and did to
// the condition must be what its row says, and everything its row says must
// happen in one of its situations.
#include "command_fixture.h"
#include "base/question.h"
#include "base/text.h"
#include "platform/recording/recording.h"
#include "script/commands.h"
#include "script/runner.h"
#include "script/runstate.h"
#include "script/store.h"
#include <gtest/gtest.h>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

std::vector<std::string> lookedUp, stored;
void onLookup(const char* name) { lookedUp.push_back(lowerAsciiText(name)); }
void onStore(const char* name) { stored.push_back(lowerAsciiText(name)); }
const StoreObserver watcher = {onLookup, onStore};

// Every key a row or the runner names.
std::set<std::string> everyKey() {
    std::set<std::string> keys;
    for (const MessageKey* k = runnerKeys; k->name; k++) keys.insert(k->name);
    for (int r = 0; r < commandCount; r++)
        for (const MessageKey* k = commandTable[r].keys; k->name; k++) keys.insert(k->name);
    return keys;
}

// A key's probe text: shown as written it keeps "%%" and its three "(%s)";
// used as a format it shows "%" and the texts given to it in the brackets.
std::string probe(const std::string& key) { return "<" + key + ">%%(%s)(%s)(%s)"; }

// The probes in a text shown: key (lower case) and the texts given to it, or
// kShownAsWritten.
void findProbes(const std::string& text, std::map<std::string, std::set<int>>& shown) {
    for (size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1)) {
        size_t close = text.find('>', at);
        if (close == std::string::npos) return;
        std::string key = text.substr(at + 1, close - at - 1);
        size_t p = close + 1;
        if (text.compare(p, 2, "%%") == 0) {
            shown[lowerAsciiText(key)].insert(kShownAsWritten);
            continue;
        }
        if (text.compare(p, 2, "%(") != 0) continue;
        p++;
        int filled = 0;
        for (int n = 0; n < 3 && p < text.size() && text[p] == '('; n++) {
            size_t end = text.find(')', p);
            if (end == std::string::npos) break;
            if (text.substr(p + 1, end - p - 1) != "%s") filled++;
            p = end + 1;
        }
        shown[lowerAsciiText(key)].insert(filled);
    }
}

// A line and what it runs in.
struct Situation {
    std::string line;
    bool silent;
    std::function<void()> prepare;  // files, libraries, answers...
    int condition;                  // the condition before the line
};

const int kSentinel = 7;  // a condition no command stores

// Makes C:\setup\setup.ini the current script file, with this text.
void scriptFile(const std::string& text) {
    recording::addFile("C:\\setup\\setup.ini", text);
    run.scriptFile = platFileOpen("C:\\setup\\setup.ini", "rb");
}

std::string longName() { return std::string(300, 'x'); }

std::vector<Situation> situations() {
    std::vector<Situation> list;
    auto add = [&list](const std::string& line, bool silent, std::function<void()> prepare = nullptr,
                       int condition = kSentinel) { list.push_back({line, silent, prepare, condition}); };
    // every command with two plain texts, shown and silent
    for (int r = 0; r < commandCount; r++) {
        add(std::string(commandTable[r].word) + " \"a\" \"b\"", false);
        add(std::string(commandTable[r].word) + " \"a\" \"b\"", true);
    }
    // copies and moves that fail, and paths too long to be made
    for (const char* w : {"CopyA", "Copy", "CopyS", "CopyD", "MoveA", "Move", "MoveS", "MoveD"}) {
        add(std::string(w) + " \"missing.txt\" \"C:\\dst\\b.txt\"", false, [] { recording::answer("no"); });
        add(std::string(w) + " \"" + longName() + "\" \"b.txt\"", false);
    }
    add("MkDir \"C:\\dst\\new\"", false);
    add("MkDir \"C:\\nowhere\\new\"", false);
    add("MkDir \"C:\\" + longName() + "\"", false);
    add("Register \"self.dll\"", false, [] { recording::addLibrary("C:\\dst\\self.dll", {"DllRegisterServer"}); });
    add("Register \"noreg.dll\"", false, [] { recording::addLibrary("C:\\dst\\noreg.dll", {}); });
    add("Unregister \"C:\\noreg.dll\"", false, [] { recording::addLibrary("C:\\noreg.dll", {}); });
    auto group = [] {
        SetVariable("PROGRAMGROUP", "Group");
        recording::addDir(std::string(recording::kProgramsFolder) + "\\Group");
    };
    for (const char* w : {"MkLink", "CreateSourceLink", "CreateDesktopLink", "CreateStartLink"})
        add(std::string(w) + " \"a.exe\" \"Title\"", false, group);
    auto tree = [] { recording::addFile("C:\\src\\tree\\f.txt", "f"); };
    add("CopyDir2Dest \"tree\"", false, tree);
    add("CopyDir2Dest \"tree\"", false, [tree] {
        tree();
        recording::failWrites("C:\\dst\\tree\\f.txt");
        recording::answer("no");
    });
    add("CopyDir2Dest \"" + longName() + "\"", false);
    add("AddPartition \"D:\\data\"", false, [] {
        recording::addFile("C:\\dst\\Qolt.ini", "vexa 1\n");
        recording::failOpen("C:\\dst\\Qolt.ini");
    });
    add("ImportOldVexa \"2\" \"auto\"", false, [] { recording::answer("no"); });
    add("ImportOldVexa \"2\" \"auto\"", false, [] { SetVariable("SRCDIR", ("C:\\" + longName()).c_str()); });
    // sections: found, and missing
    auto sections = [] { scriptFile("[Empty]\n"); };
    add("goto \"Empty\"", false, sections);
    add("goto \"Missing\"", false, sections);
    add("Include \"C:\\setup\\setup.ini\" \"Missing\"", false, sections);
    add("Include \"nosuch.txt\" \"Empty\"", false, sections);
    auto listFile = [sections] {
        sections();
        recording::addFile("C:\\setup\\list.txt", "  one\n");
    };
    add("ParseFile \"C:\\setup\\list.txt\" \"Empty\"", false, listFile);
    add("ParseFile \"C:\\setup\\list.txt\" \"Missing\"", false, listFile);
    add("ApplyOnFiles \"x.exe\" \"Missing\"", false, [sections] {
        sections();
        recording::addFile("C:\\apps\\x.exe", "x");
    });
    // If and Else: a skip that finds its end, and one that meets the end of the file
    add("If", false, [] { scriptFile("Else\n"); }, 0);
    add("If", false, [] { scriptFile(""); }, 0);
    add("Else", false, [] { scriptFile("Endif\n"); });
    add("Else", false, [] { scriptFile(""); });
    // the dialogs, their choosers and their failures
    add("ShowFile \"C:\\licence.txt\"", false, [] {
        recording::addFile("C:\\licence.txt", "terms");
        recording::answer("agree");
    });
    add("IShowInstallDlg", false, [] {
        recording::addDir("C:\\Apps\\Vexa");
        recording::answer("change");
        recording::answer("folder", {}, "C:\\Apps\\Vexa");
        recording::answer("continue");
    });
    add("IShowInstallDlg", false, [] { recording::answer("<no dialog>"); });
    add("SetupType", false, [] { recording::answer("2"); });
    add("SetupType", false, [] { recording::answer("abort"); });
    add("GetVexaSettings", false, [] { recording::answer("ok", {"Jo", "jo@example.org", "1"}); });
    add("GetVexaSettings", false, [] {
        recording::failOpen("C:\\dst\\qoltress.ini");
        recording::answer("ok", {"Jo", "jo@example.org", "1"});
    });
    add("GetSMTPServer", false, [] { recording::answer("ok", {"smtp.example.org"}); });
    // variables
    add("GetVersion \"C:\\v.txt\" \"runtime\"", false, [] { recording::addFile("C:\\v.txt", "runtime 1 2\n"); });
    add("GetTempFileName NAME", false);
    add("GetPgmGroup NAME", false);
    add("set NAME \"v\"", false);
    add("Strcat NAME \"v\"", false);
    add("SetText TEXT", false, [] { SetVariable("TEXT", "shown"); });
    add("DetectVEXA", false, [] {
        platRegSetString(RegClassesRoot, "vxm_auto_file\\shell\\open\\command", nullptr, "\"C:\\Rt\\qoltwin.exe\" \"%1\"");
    });
    return list;
}

// What one command did over all its situations.
struct Observed {
    std::set<std::string> lookedUp, stored, bareTokens, firstTokens;
    std::map<std::string, std::set<int>> shown;
    bool conditionChanged = false;
    bool conditionChangedSilent = false;
};

std::set<std::string> listed(const MessageKey* keys) {
    std::set<std::string> out;
    for (const MessageKey* k = keys; k->name; k++) out.insert(lowerAsciiText(k->name));
    return out;
}
std::set<std::string> listed(const char* const* names) {
    std::set<std::string> out;
    for (const char* const* n = names; *n; n++) out.insert(lowerAsciiText(*n));
    return out;
}

class CommandKnowledge : public CommandTest {
  protected:
    // Runs one situation; what it did goes to seen.
    void runSituation(const Situation& s, std::map<int, Observed>& seen) {
        SetUp();
        for (const std::string& key : everyKey()) SetVariable(key.c_str(), probe(key).c_str());
        run.silentMode = s.silent;
        run.miniMode = s.silent;
        if (s.prepare) s.prepare();
        run.condition = s.condition;
        std::string copy = s.line + "\n";
        ParsedLine parsed;
        parseScriptLine(&copy[0], &parsed);
        ASSERT_GE(parsed.code, 0) << s.line;
        Observed& o = seen[parsed.code];
        for (int a = 0; a < 2; a++)
            if (parsed.bare[a] && *parsed.token[a]) o.bareTokens.insert(lowerAsciiText(parsed.token[a]));
        o.firstTokens.insert(lowerAsciiText(parsed.token[0]));
        lookedUp.clear();
        stored.clear();
        setStoreObserver(&watcher);
        ExecuteCommand(nullptr, parsed.value[0], parsed.value[1], parsed.token[0], parsed.token[1], parsed.code,
                       parsed.bare[0], parsed.bare[1]);
        setStoreObserver(nullptr);
        if (run.scriptFile) platFileClose(run.scriptFile);
        run.scriptFile = nullptr;
        o.lookedUp.insert(lookedUp.begin(), lookedUp.end());
        o.stored.insert(stored.begin(), stored.end());
        for (const Question& q : recording::asked()) {
            findProbes(q.title, o.shown);
            findProbes(q.text, o.shown);
            findProbes(q.pathLabel, o.shown);
            for (const QuestionItem& item : q.items) findProbes(item.text, o.shown);
            for (const QuestionChoice& choice : q.choices) findProbes(choice.label, o.shown);
            for (const QuestionField& field : q.fields) findProbes(field.label, o.shown);
        }
        for (const std::string& text : recording::progressTexts()) findProbes(text, o.shown);
        if (run.condition != s.condition) (s.silent ? o.conditionChangedSilent : o.conditionChanged) = true;
    }
};

TEST_F(CommandKnowledge, EachRowSaysWhatItsCommandShowsReadsWritesAndTests) {
    std::map<int, Observed> seen;
    for (const Situation& s : situations()) {
        SCOPED_TRACE(s.line + (s.silent ? " (silent)" : ""));
        runSituation(s, seen);
    }
    for (int r = 0; r < commandCount; r++) {
        const CommandRow& row = commandTable[r];
        SCOPED_TRACE(row.word);
        const Observed& o = seen[row.code];
        std::set<std::string> keys = listed(row.keys);
        std::set<std::string> reads = listed(row.reads);
        std::set<std::string> sets = listed(row.sets);
        // a command that runs a section, and If and Else, may meet the runner's faults
        std::set<std::string> runner;
        if ((row.traits & TraitRunsSection) || row.code == CmdIf || row.code == CmdElse) runner = listed(runnerKeys);
        for (const std::string& name : o.lookedUp) {
            bool known = keys.count(name) || reads.count(name) || o.bareTokens.count(name) || runner.count(name);
            EXPECT_TRUE(known) << row.word << " looks up " << name << ", which its row does not list";
        }
        for (const std::string& name : reads)
            EXPECT_TRUE(o.lookedUp.count(name)) << row.word << " never reads " << name;
        for (const MessageKey* k = row.keys; k->name; k++) {
            auto it = o.shown.find(lowerAsciiText(k->name));
            if (it == o.shown.end()) {
                ADD_FAILURE() << row.word << " never shows " << k->name;
                continue;
            }
            EXPECT_EQ(std::set<int>{k->args}, it->second) << row.word << " shows " << k->name
                                                           << " given other texts than its row says";
        }
        for (const auto& shown : o.shown) {
            bool known = keys.count(shown.first) || runner.count(shown.first);
            EXPECT_TRUE(known) << row.word << " shows " << shown.first << ", which its row does not list";
        }
        // the variable an argument names, as written
        std::set<std::string> named;
        if (row.args[0] == ArgVariable) named = o.firstTokens;
        for (const std::string& name : o.stored)
            EXPECT_TRUE(sets.count(name) || named.count(name)) << row.word << " writes " << name
                                                               << ", which its row does not list";
        for (const std::string& name : sets)
            EXPECT_TRUE(o.stored.count(name)) << row.word << " never writes " << name;
        bool condition = row.traits & TraitCondition;
        EXPECT_EQ(condition, o.conditionChanged || o.conditionChangedSilent) << row.word << " and the condition";
        if (row.traits & TraitSilentKeepsCondition) {
            EXPECT_FALSE(o.conditionChangedSilent) << row.word << " changes the condition in silent mode";
        }
    }
}

// The runner's own texts: a line whose first word is no command, and a
// section that cannot be found.
TEST_F(CommandKnowledge, TheRunnerShowsItsOwnKeys) {
    for (const std::string& key : everyKey()) SetVariable(key.c_str(), probe(key).c_str());
    scriptFile("[Setup]\nfrobnicate\n");
    lookedUp.clear();
    setStoreObserver(&watcher);
    RunSection(nullptr, "Setup");
    RunSection(nullptr, "Missing");
    setStoreObserver(nullptr);
    platFileClose(run.scriptFile);
    run.scriptFile = nullptr;
    std::map<std::string, std::set<int>> shown;
    for (const Question& q : recording::asked()) {
        findProbes(q.title, shown);
        findProbes(q.text, shown);
    }
    std::map<std::string, std::set<int>> expected;
    for (const MessageKey* k = runnerKeys; k->name; k++) expected[lowerAsciiText(k->name)].insert(k->args);
    EXPECT_EQ(expected, shown);
    std::set<std::string> names(lookedUp.begin(), lookedUp.end());
    EXPECT_EQ(listed(runnerKeys), names);
}

// The probes themselves: a key shown as written, and one given texts.
TEST(CommandKnowledgeProbes, TellHowAKeyWasShown) {
    std::map<std::string, std::set<int>> shown;
    findProbes("title <A>%%(%s)(%s)(%s)", shown);
    findProbes("<B>%(x)(%s)(%s) and <C>%(x)(y)(%s) and <D>%(%s)(%s)(%s)", shown);
    std::map<std::string, std::set<int>> expected = {
        {"a", {kShownAsWritten}}, {"b", {1}}, {"c", {2}}, {"d", {0}}};
    EXPECT_EQ(expected, shown);
}

}  // namespace
