#include "files/atomic_file_saver.h"

#include "file_test_support.h"

#include <gtest/gtest.h>

using namespace lmx;
using Step = filetest::FailingSaver::Step;

TEST(AtomicFileSaver, ReplacesTheTargetOnlyWhenComplete)
{
    filetest::TempFolder folder;
    const std::string target = folder.file("a.txt");
    ASSERT_TRUE(defaultFileSaver().save(target, std::string("new\0bytes", 9)).ok());
    EXPECT_EQ(filetest::readFile(target), std::string("new\0bytes", 9));
    ASSERT_TRUE(defaultFileSaver().save(target, "").ok());
    EXPECT_EQ(filetest::readFile(target), "");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"a.txt"});
}

TEST(AtomicFileSaver, EveryFailingStepKeepsThePreviousFile)
{
    const std::pair<Step, SaveFailure> cases[] = {{Step::Create, SaveFailure::Create},
                                                  {Step::Write, SaveFailure::Write},
                                                  {Step::Close, SaveFailure::Write},
                                                  {Step::Replace, SaveFailure::Replace}};
    for (const auto& c : cases) {
        filetest::TempFolder folder;
        const std::string target = folder.file("a.txt");
        filetest::writeFile(target, "previous");
        const SaveOutcome outcome = filetest::FailingSaver(c.first).save(target, "replacement");
        EXPECT_EQ(outcome.failure, c.second);
        EXPECT_TRUE(outcome.partialRemoved);
        EXPECT_EQ(filetest::readFile(target), "previous");
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"a.txt"});
    }
    filetest::TempFolder folder;
    const SaveOutcome kept = filetest::FailingSaver(Step::Write, true).save(folder.file("b"), "x");
    EXPECT_FALSE(kept.partialRemoved);
}

TEST(AtomicFileSaver, RealFailures)
{
    filetest::TempFolder folder;
    EXPECT_EQ(defaultFileSaver().save(folder.file("no/such/folder"), "x").failure,
              SaveFailure::Create);
    // a folder in the target's place cannot be replaced by a file
    std::filesystem::create_directory(folder.file("dir"));
    filetest::writeFile(folder.file("dir/inside"), "kept");
    const SaveOutcome outcome = defaultFileSaver().save(folder.file("dir"), "x");
    EXPECT_EQ(outcome.failure, SaveFailure::Replace);
    EXPECT_EQ(filetest::readFile(folder.file("dir/inside")), "kept");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"dir"});
}

TEST(AtomicFileSaver, StaleTemporaryFileIsNeitherReusedNorLost)
{
    filetest::TempFolder folder;
    const std::string target = folder.file("a.txt");
    filetest::writeFile(target + ".~tmp", "someone else's");
    ASSERT_TRUE(defaultFileSaver().save(target, "data").ok());
    EXPECT_EQ(filetest::readFile(target), "data");
    EXPECT_EQ(filetest::readFile(target + ".~tmp"), "someone else's");
}
