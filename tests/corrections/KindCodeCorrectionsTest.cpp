#include "corrections/KindCodeComparison.h"
#include "corrections/KindCodeCorrections.h"
#include "tests/support/ScriptedConnection.h"
#include "tests/support/Sha256.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

using namespace flagwright;
using namespace flagwright::testing;

namespace {
std::size_t IndexOf(std::string_view code)
{
    const auto it = std::find_if(KindCodeCorrections.begin(), KindCodeCorrections.end(),
                                 [&](const KindCodeCorrection& c) { return c.KindCode == code; });
    EXPECT_NE(it, KindCodeCorrections.end()) << code;
    return static_cast<std::size_t>(it - KindCodeCorrections.begin());
}
} // namespace

TEST(KindCodeCorrectionTable, ShapeAndFlagPairCounts)
{
    std::map<std::pair<int, int>, int> pairs;
    std::map<std::size_t, int> lengths;
    std::set<std::string_view> codes;
    for (const KindCodeCorrection& c : KindCodeCorrections) {
        ++pairs[{c.Direct, c.LineOverhead}];
        ++lengths[c.KindCode.size()];
        codes.insert(c.KindCode);
        EXPECT_TRUE(std::all_of(c.KindCode.begin(), c.KindCode.end(), [](char ch) {
            return (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
        })) << c.KindCode;
    }
    EXPECT_EQ(KindCodeCorrections.size(), 791u);
    EXPECT_EQ(codes.size(), 791u) << "a kind code occurs twice";
    EXPECT_EQ((pairs[{0, 0}]), 503);
    EXPECT_EQ((pairs[{1, 0}]), 192);
    EXPECT_EQ((pairs[{1, 1}]), 74);
    EXPECT_EQ((pairs[{0, 1}]), 22);
    EXPECT_EQ(lengths[2], 13);
    EXPECT_EQ(lengths[3], 40);
    EXPECT_EQ(lengths[4], 738);
}

TEST(KindCodeCorrectionTable, Order)
{
    EXPECT_EQ(KindCodeCorrections.front().KindCode, "AT");
    EXPECT_EQ(KindCodeCorrections.back().KindCode, "WEED");
    const std::vector<std::string_view> hcs = {"HCS4", "HCSU", "HCS5", "HCS1", "HCS2"};
    for (std::size_t i = 0; i < hcs.size(); ++i)
        EXPECT_EQ(KindCodeCorrections[29 + i].KindCode, hcs[i]) << "entry " << 30 + i;
    EXPECT_EQ(IndexOf("FT"), IndexOf("FTSC") + 1);
    EXPECT_EQ(IndexOf("FUEL"), IndexOf("FT") + 1);
    EXPECT_LT(IndexOf("OS"), IndexOf("OSA2"));

    // Entries 35 to 658 run in ASCII order, FT standing after FTSC.
    for (std::size_t i = 35; i < 658; ++i) {
        const std::string_view prev = KindCodeCorrections[i - 1].KindCode;
        const std::string_view next = KindCodeCorrections[i].KindCode;
        if (prev != "FT" && next != "FT") {
            EXPECT_LT(prev, next) << "entries " << i << " and " << i + 1;
        }
    }
    // Line overhead is set only in the middle stretch.
    for (std::size_t i = 0; i < KindCodeCorrections.size(); ++i)
        if (i < 34 || i >= 658) {
            EXPECT_EQ(KindCodeCorrections[i].LineOverhead, 0) << "entry " << i + 1;
        }
}

TEST(KindCodeCorrectionTable, StatementText)
{
    EXPECT_EQ(CorrectionStatement(KindCodeCorrections.front()),
              "UPDATE L_Kind SET Direct = 1, LineOverhead = 0 WHERE KindCode = 'AT'");
    EXPECT_EQ(CorrectionStatement(KindCodeCorrections.back()),
              "UPDATE L_Kind SET Direct = 0, LineOverhead = 0 WHERE KindCode = 'WEED'");
    EXPECT_EQ(CorrectionStatement(KindCodeCorrections[IndexOf("AOBD")]),
              "UPDATE L_Kind SET Direct = 1, LineOverhead = 1 WHERE KindCode = 'AOBD'");
    EXPECT_EQ(CorrectionStatement(KindCodeCorrections[IndexOf("AEMF")]),
              "UPDATE L_Kind SET Direct = 0, LineOverhead = 1 WHERE KindCode = 'AEMF'");
}

// Pins every code, flag and position at once: the digest of all statements, each followed by
// "\n", in table order, as `sha256sum` gives it for an independent transcription of the table.
TEST(KindCodeCorrectionTable, StatementsMatchThePinnedDigest)
{
    std::string statements;
    for (const KindCodeCorrection& c : KindCodeCorrections)
        statements += CorrectionStatement(c) + "\n";
    EXPECT_EQ(Sha256Hex(statements),
              "c5383d83d364f99e23b1ee7893a3e1fe9ef40e20d708829239af40d7a89374be");
}

TEST(Sha256Hex, GivesTheStandardDigests)
{
    EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // 56 bytes: the length no longer fits the block, so the padding takes a second one.
    EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(Sha256Hex(std::string(1000000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

class ApplyKindCodeCorrectionsTest : public ::testing::Test {
protected:
    std::vector<std::string> log;
    std::shared_ptr<ConnectionScript> script = std::make_shared<ConnectionScript>();
    ConnectionSlot cnDatabase{ScriptedConnection::Factory(script)};
    std::size_t completed = 0;

    void SetUp() override
    {
        script->log = &log;
        cnDatabase.Renew().Open({});
    }
};

TEST_F(ApplyKindCodeCorrectionsTest, SendsEveryStatementOnceInTableOrder)
{
    ApplyKindCodeCorrections(cnDatabase, completed);
    EXPECT_EQ(completed, 791u);
    ASSERT_EQ(script->statements.size(), 791u);
    for (std::size_t i = 0; i < 791; ++i)
        EXPECT_EQ(script->statements[i], CorrectionStatement(KindCodeCorrections[i]));
}

TEST_F(ApplyKindCodeCorrectionsTest, StopsAtTheFirstFailureAndPassesItUp)
{
    script->failAtExecute = 400;
    script->executeFailure = Failure(failure_code::StatementError, "Deadlock");
    try {
        ApplyKindCodeCorrections(cnDatabase, completed);
        FAIL() << "the failure did not pass up";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Number(), failure_code::StatementError);
        EXPECT_EQ(failure.Description(), "Deadlock");
    }
    EXPECT_EQ(script->statements.size(), 400u);
    EXPECT_EQ(completed, 399u);
}

TEST(ApplyKindCodeCorrectionsOnEmptySlot, UsesAFreshClosedConnectionAndFailsWith3704)
{
    auto script = std::make_shared<ConnectionScript>();
    ConnectionSlot cnDatabase{ScriptedConnection::Factory(script)};
    std::size_t completed = 1;
    try {
        ApplyKindCodeCorrections(cnDatabase, completed);
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Number(), 3704);
    }
    EXPECT_EQ(completed, 0u);
    EXPECT_EQ(script->created, 1);
}

// A row belongs to a code as the correction's WHERE clause finds it under SQL Server's default
// collation; a code is corrected only when every row of it holds both flags.
TEST(CompareWithCorrections, CountsEachCodeOfTheTableOnceAsTheServerWouldMatchIt)
{
    const auto flags = [](const KindCodeCorrection& c, bool same) -> std::vector<Variant> {
        return {std::string(c.KindCode), std::to_string(same ? c.Direct : 1 - c.Direct),
                std::to_string(c.LineOverhead)};
    };
    std::string lowerCased(KindCodeCorrections[0].KindCode);
    for (char& c : lowerCased)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::vector<std::vector<Variant>> rows = {
        {lowerCased + "  ", std::to_string(KindCodeCorrections[0].Direct),
         std::to_string(KindCodeCorrections[0].LineOverhead)}, // corrected
        flags(KindCodeCorrections[1], false),                  // to change
        flags(KindCodeCorrections[2], true),                   // corrected, but a second row
        flags(KindCodeCorrections[2], false),                  // of it is not: to change
        {std::string(KindCodeCorrections[3].KindCode), std::nullopt, "0"}, // NULL: to change
        {std::string("ZZ01"), "1", "1"},                                   // not in the table
        {std::nullopt, "1", "1"},
    };
    const KindCodeCounts counts =
        CompareWithCorrections(Recordset({"kindcode", "LINEOVERHEAD", "Direct"}, {}));
    EXPECT_EQ(counts.missing, 791u);
    for (auto& row : rows)
        std::swap(row[1], row[2]); // the columns are found by name, in any order and case
    const KindCodeCounts found =
        CompareWithCorrections(Recordset({"kindcode", "LINEOVERHEAD", "Direct"}, rows));
    EXPECT_EQ(found.table, 791u);
    EXPECT_EQ(found.present, 4u);
    EXPECT_EQ(found.corrected, 1u);
    EXPECT_EQ(found.toChange, 3u);
    EXPECT_EQ(found.missing, 787u);
}
