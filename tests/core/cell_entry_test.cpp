#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "core/dependencies.h"

namespace zt {
namespace {

// Stands in for the formula engine: accepts texts that begin with "+" or
// "-" and a letter, and records what entry asks of it.
class RecordingFormulas : public FormulaHooks {
public:
    void CompileFormula(Engine& e, std::string& text) override
    {
        compiled.push_back(text);
        if (text.size() > 1 && (text[0] == '+' || text[0] == '-') && std::isalpha(static_cast<unsigned char>(text[1])))
            text = std::string("\x02\x00\x03", 3);
        else
            e.Err.ErrorFlag = true;
    }
    bool LinkDependencies(Engine&, PCell) override { return ++links, true; }
    void EvaluateCell(Engine&, PCell c) override
    {
        ++evaluations;
        WriteReal(*c, 7.0);
    }
    void RecalcFrom(Engine&, PCell) override { ++recalcs; }

    std::vector<std::string> compiled;
    int links = 0;
    int evaluations = 0;
    int recalcs = 0;
};

class MessageLog : public Notify {
public:
    void Beep() override { ++beeps; }
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    std::vector<std::string> messages;
    int beeps = 0;
};

class CellEntryTest : public ::testing::Test {
protected:
    CellEntryTest() : e(64)
    {
        auto hooks = std::make_unique<RecordingFormulas>();
        formulas = hooks.get();
        e.Formula = std::move(hooks);
        e.Notifier = &log;
        RestoreContext(e, OpenSheet(e, "T"));
    }

    PCell Enter(std::string_view text, int row = 0, int col = 0)
    {
        EnterCell(e, text, row, col);
        return FindCell(e, row, col);
    }
    std::string Label(PCell c) { return std::string(TextOf(e, c->Text)); }

    Engine e;
    MessageLog log;
    RecordingFormulas* formulas;
};

TEST_F(CellEntryTest, NumbersTakeTheIntegerKindOnlyWhenWholeAndSmall)
{
    struct Case {
        const char* text;
        std::uint8_t kind;
        double value;
    } cases[] = {
        {"42", ckInteger, 42},      {"4.5e3", ckInteger, 4500}, {".5", ckReal, 0.5},
        {"-.5", ckReal, -0.5},      {"+.25", ckReal, 0.25},     {"40000", ckReal, 40000},
        {"-32767.0", ckReal, -32767}, {"-32766", ckInteger, -32766}, {"32766", ckInteger, 32766},
        {"+5", ckInteger, 5},       {"1E-3", ckReal, 0.001},    {"007", ckInteger, 7},
    };
    for (const Case& c : cases) {
        PCell cell = Enter(c.text);
        ASSERT_NE(cell, nullptr) << c.text;
        EXPECT_EQ(cell->Kind, c.kind) << c.text;
        EXPECT_EQ(NumericValue(*cell), c.value) << c.text;
        EXPECT_EQ(cell->Text, 0u) << c.text;
    }
    EXPECT_TRUE(formulas->compiled.empty());
}

TEST_F(CellEntryTest, TextThatIsNotANumberGoesToTheCompiler)
{
    for (const char* text : {"1,000", "12abc", "1e999", "1e", "5..", "(3)", "@PI", "0x10", "12 "}) {
        PCell cell = Enter(text);
        EXPECT_TRUE(e.Err.ErrorFlag) << text;
        ASSERT_NE(cell, nullptr) << text;
        EXPECT_EQ(cell->Kind, ckBlank) << text;
    }
    EXPECT_EQ(formulas->compiled.size(), 9u);
    EXPECT_TRUE(log.messages.empty());
}

TEST_F(CellEntryTest, SignAndLetterIsAFormulaWhateverTheConversionSays)
{
    PCell a = Enter("+A1", 0, 0);
    PCell b = Enter("-b2", 0, 1);
    PCell c = Enter("+e5", 0, 2);
    EXPECT_EQ(a->Kind, ckFormula);
    EXPECT_EQ(b->Kind, ckFormula);
    EXPECT_EQ(c->Kind, ckFormula);
    EXPECT_EQ(formulas->links, 3);
    EXPECT_EQ(formulas->evaluations, 3);
    EXPECT_EQ(ReadReal(*a), 7.0);
    EXPECT_EQ(TextOf(e, a->Text), std::string_view("\x00\x03", 2));
}

TEST_F(CellEntryTest, LabelsKeepOrGetTheirPrefix)
{
    EXPECT_EQ(Label(Enter("abc", 0, 0)), "'abc");
    EXPECT_EQ(Label(Enter("^Title", 1, 0)), "^Title");
    EXPECT_EQ(Label(Enter("\"Right", 2, 0)), "\"Right");
    EXPECT_EQ(Label(Enter("\\-", 3, 0)), "\\-");
    EXPECT_EQ(Label(Enter("|marker", 4, 0)), "|marker");
    EXPECT_EQ(Label(Enter("'", 5, 0)), "'");
    e.Settings().Prefix = '^';
    EXPECT_EQ(Label(Enter("mid", 6, 0)), "^mid");
    EXPECT_EQ(Enter("abc", 0, 0)->Kind, ckString);
}

TEST_F(CellEntryTest, EmptyTextClearsToAnEmptyLabelButCreatesNothing)
{
    EXPECT_EQ(Enter("", 3, 3), nullptr);
    Enter("12", 3, 3);
    PCell c = Enter("", 3, 3);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Kind, ckString);
    EXPECT_EQ(Label(c), "'");
}

TEST_F(CellEntryTest, OnlyLabelsAreCutTo240CharactersAndEntrySaysSo)
{
    EXPECT_EQ(EnterCell(e, std::string(300, 'x'), 0, 0), EntryText::LabelCut);
    EXPECT_EQ(Label(FindCell(e, 0, 0)).size(), 240u);
    EXPECT_EQ(EnterCell(e, "'" + std::string(300, 'y'), 1, 0), EntryText::LabelCut);
    EXPECT_EQ(Label(FindCell(e, 1, 0)), "'" + std::string(239, 'y'));
    EXPECT_EQ(EnterCell(e, std::string(239, 'z'), 2, 0), EntryText::Whole);
    EXPECT_TRUE(log.messages.empty());

    // A long number keeps every digit; a long formula is refused whole,
    // before the cell changes.
    EXPECT_DOUBLE_EQ(NumericValue(*Enter(std::string(299, '0') + "7", 3, 0)), 7);
    EXPECT_DOUBLE_EQ(NumericValue(*Enter("1" + std::string(299, '0'), 4, 0)), 1e299);
    EXPECT_EQ(EnterCell(e, "+B1" + std::string(240, '0'), 3, 0), EntryText::Whole);
    EXPECT_TRUE(e.Err.ErrorFlag);
    EXPECT_TRUE(formulas->compiled.empty());
    EXPECT_DOUBLE_EQ(NumericValue(*FindCell(e, 3, 0)), 7);
    EXPECT_EQ(log.messages, (std::vector<std::string>{"Error:Formula Too Long"}));
}

TEST_F(CellEntryTest, TextWithANulByteIsRefusedAndTheCellKept)
{
    Enter("keep", 0, 0);
    EnterCell(e, std::string("a\0b", 3), 0, 0);
    EnterCell(e, std::string("\0", 1), 1, 0);
    EXPECT_TRUE(e.Err.ErrorFlag);
    EXPECT_EQ(Label(FindCell(e, 0, 0)), "'keep");
    EXPECT_EQ(FindCell(e, 1, 0), nullptr);
    EXPECT_EQ(log.messages, (std::vector<std::string>(2, "Error:Invalid Character")));
}

TEST_F(CellEntryTest, DateFormatsReadSlashedTextAsDates)
{
    PCell d4 = FindOrCreateCell(e, 0, 0);
    d4->Format = 0x79;
    PCell d5 = FindOrCreateCell(e, 0, 1);
    d5->Format = 0x7A;
    PCell lb = FindOrCreateCell(e, 0, 2);
    lb->Format = 0x7E;
    EXPECT_EQ(NumericValue(*Enter("12/25/97", 0, 0)), 35789);
    EXPECT_EQ(NumericValue(*Enter("25 / 12 / 97", 0, 1)), 35789);
    PCell label = Enter("123", 0, 2);
    EXPECT_EQ(label->Kind, ckString);
    EXPECT_EQ(Label(label), "'123");
    EXPECT_EQ(Enter("17", 0, 0)->Kind, ckInteger);
}

TEST_F(CellEntryTest, ProtectionRefusesLockedAndNewCells)
{
    PCell open = FindOrCreateCell(e, 1, 1);
    open->Format &= kFormatCodeMask;
    PCell locked = FindOrCreateCell(e, 2, 2);
    e.Settings().Protect = true;

    EXPECT_EQ(Enter("5", 1, 1)->Kind, ckInteger);
    EXPECT_TRUE(log.messages.empty());

    Enter("5", 2, 2);
    EXPECT_EQ(locked->Kind, ckBlank);
    Enter("5", 3, 3);
    EXPECT_EQ(FindCell(e, 3, 3), nullptr);
    ASSERT_EQ(log.messages.size(), 2u);
    EXPECT_EQ(log.messages[0], "Error:Protected Cell");
    EXPECT_EQ(log.beeps, 2);
}

TEST_F(CellEntryTest, OutOfRangeIsReported)
{
    Enter("1", 8192, 0);
    ASSERT_EQ(log.messages.size(), 1u);
    EXPECT_EQ(log.messages[0], "Error:Out of Range");
}

TEST_F(CellEntryTest, DependentsAreRecalculatedUnlessManual)
{
    PCell target = FindOrCreateCell(e, 0, 0);
    PCell formula = FindOrCreateCell(e, 5, 5);
    formula->Kind = ckFormula;
    LinkDependency(e, formula, 0, 0, true);
    ASSERT_NE(target->Dependents, 0u);

    Enter("3", 0, 0);
    EXPECT_EQ(formulas->recalcs, 1);
    EXPECT_TRUE(e.SheetRecalculated);

    e.Settings().ManualCalc = true;
    Enter("4", 0, 0);
    EXPECT_EQ(formulas->recalcs, 1);
    EXPECT_FALSE(e.SheetRecalculated);

    // With manual recalculation a new formula still shows its value at once.
    Enter("+B1", 0, 0);
    EXPECT_EQ(formulas->evaluations, 1);
    EXPECT_EQ(formulas->recalcs, 1);
}

TEST_F(CellEntryTest, ReplacingContentsFreesTheOldText)
{
    Enter("first label");
    std::int64_t used = e.Heap.BytesInUse();
    Enter("12");
    EXPECT_LT(e.Heap.BytesInUse(), used);
    Enter("another label that is longer");
    Enter("");
    EXPECT_EQ(e.Heap.BytesInUse(), 36 + 4);  // the cell and its one-character label
}

TEST_F(CellEntryTest, TheDecimalPointSettingChangesNumbers)
{
    e.Settings().Period = ',';
    EXPECT_EQ(NumericValue(*Enter("1,5")), 1.5);
    EXPECT_EQ(NumericValue(*Enter(",25")), 0.25);
    Enter("1.5");
    EXPECT_TRUE(e.Err.ErrorFlag);
}

TEST_F(CellEntryTest, StoreValueHonoursProtectionAndTheWiderIntegerRule)
{
    StoreValue(e, 0, 0, -32768);
    EXPECT_EQ(FindCell(e, 0, 0)->Kind, ckInteger);
    StoreValue(e, 0, 0, 32767);
    EXPECT_EQ(FindCell(e, 0, 0)->Kind, ckInteger);
    StoreValue(e, 0, 0, 32768);
    EXPECT_EQ(FindCell(e, 0, 0)->Kind, ckReal);
    StoreValue(e, 0, 0, 2.5);
    EXPECT_EQ(NumericValue(*FindCell(e, 0, 0)), 2.5);

    e.Settings().Protect = true;
    StoreValue(e, 4, 4, 1);
    EXPECT_EQ(FindCell(e, 4, 4), nullptr);
    StoreValue(e, 0, 0, 9);
    EXPECT_EQ(NumericValue(*FindCell(e, 0, 0)), 2.5);
}

TEST(StoreNumberTest, NeverStoresANonFiniteNumber)
{
    TCell c{};
    StoreNumber(&c, std::numeric_limits<double>::infinity());
    EXPECT_TRUE(c.Kind & kfError);
    StoreNumber(&c, -0.0);
    EXPECT_EQ(c.Kind, ckInteger);
    EXPECT_EQ(ReadInteger(c), 0);
}

}  // namespace
}  // namespace zt
