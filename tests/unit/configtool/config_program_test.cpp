#include "configtool/app/config_program.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "configtool/resources/resource.h"
#include "tests/fakes/fake_program_start.h"
#include "tests/fakes/fake_system.h"

namespace {

using configtool::ConfigApp;
using configtool::ProgramDialog;
using configtool::RunConfigProgram;

class JournalDialog : public ProgramDialog {
 public:
  JournalDialog(std::vector<std::string>& journal, std::function<void()> whileRunning)
      : journal_(journal), whileRunning_(std::move(whileRunning)) {
    journal_.push_back("construct dialog");
  }
  ~JournalDialog() override { journal_.push_back("destroy dialog"); }
  void RunModal() override {
    journal_.push_back("run dialog");
    if (whileRunning_) whileRunning_();
  }

 private:
  std::vector<std::string>& journal_;
  std::function<void()> whileRunning_;
};

// Mutexes that log their releases into the journal.
class JournalMutexes : public fakes::FakeNamedMutexes {
 public:
  explicit JournalMutexes(std::vector<std::string>& journal) : journal_(journal) {}
  void ReleaseAndClose(platform::MutexId mutex) override {
    journal_.push_back("release mutex");
    FakeNamedMutexes::ReleaseAndClose(mutex);
  }

 private:
  std::vector<std::string>& journal_;
};

// Mutexes and a thread locale that log every creation, with its initial
// ownership, and the locale change into one journal.
class OwnershipMutexes : public fakes::FakeNamedMutexes {
 public:
  explicit OwnershipMutexes(std::vector<std::string>& journal) : journal_(journal) {}
  platform::MutexCreation Create(const char* name, bool initiallyOwned) override {
    journal_.push_back(std::string("create ") + name + (initiallyOwned ? " owned" : " not owned"));
    return FakeNamedMutexes::Create(name, initiallyOwned);
  }

 private:
  std::vector<std::string>& journal_;
};

class JournalLocale : public platform::ThreadLocale {
 public:
  explicit JournalLocale(std::vector<std::string>& journal) : journal_(journal) {}
  bool SetThreadLocale(std::uint32_t locale) override {
    journal_.push_back("locale " + std::to_string(locale));
    return true;
  }

 private:
  std::vector<std::string>& journal_;
};

// One copy of the program: its own app state, locale and message boxes; the
// mutexes are shared by all copies like named kernel objects.
struct Copy {
  ConfigApp app;
  fakes::FakeThreadLocale locale;
  fakes::FakeMessageBoxes messages;
  int dialogsMade = 0;

  int Run(fakes::FakeNamedMutexes& mutexes, std::vector<std::string>& journal,
          std::function<void()> whileRunning = nullptr) {
    configtool::ProgramServices services{locale, mutexes, messages};
    return RunConfigProgram(app, services, [&]() -> std::unique_ptr<ProgramDialog> {
      ++dialogsMade;
      return std::make_unique<JournalDialog>(journal, whileRunning);
    });
  }
};

TEST(ConfigProgram, FirstCopySetsUpAndRunsTheDialogThenReleasesItsMutex) {
  std::vector<std::string> journal;
  JournalMutexes mutexes(journal);
  Copy first;
  first.app.settings.SetSettingsChanged(true);
  bool checkedDuringRun = false;
  EXPECT_EQ(first.Run(mutexes, journal, [&] {
    EXPECT_EQ(first.app.regionIndex, 1);
    EXPECT_FALSE(first.app.settings.SettingsChanged());
    EXPECT_NE(first.app.instanceMutex, 0u);
    checkedDuringRun = true;
  }), 0);
  EXPECT_TRUE(checkedDuringRun);
  EXPECT_EQ(first.locale.locales, std::vector<std::uint32_t>{0x0409});
  EXPECT_EQ(mutexes.created, std::vector<std::string>{"VELDARA Config"});
  EXPECT_EQ(journal, (std::vector<std::string>{"construct dialog", "run dialog", "release mutex", "destroy dialog"}));
  EXPECT_TRUE(first.messages.shown.empty());
  EXPECT_EQ(mutexes.existing["VELDARA Config"], 0);
}

TEST(ConfigProgram, LocaleComesFirstAndBothMutexesAreCreatedOwned) {
  std::vector<std::string> journal;
  OwnershipMutexes mutexes(journal);
  JournalLocale locale(journal);
  fakes::FakeMessageBoxes messages;
  configtool::ProgramServices services{locale, mutexes, messages};
  ConfigApp first;
  ConfigApp second;
  RunConfigProgram(first, services, [&]() -> std::unique_ptr<ProgramDialog> {
    return std::make_unique<JournalDialog>(journal, [&] {
      RunConfigProgram(second, services, [&]() -> std::unique_ptr<ProgramDialog> {
        journal.push_back("second copy made a dialog");
        return nullptr;
      });
    });
  });
  EXPECT_EQ(journal, (std::vector<std::string>{"locale 1033", "create VELDARA Config owned", "construct dialog",
                                               "run dialog", "locale 1033", "create VELDARA Config owned",
                                               "create VELDARA Config Mutex owned", "destroy dialog"}));
  EXPECT_EQ(messages.shown.size(), 1u);
}

TEST(ConfigProgram, SecondCopyShowsMessage111OnceAndRunsNoDialog) {
  std::vector<std::string> journal;
  JournalMutexes mutexes(journal);
  Copy first;
  Copy second;
  first.Run(mutexes, journal, [&] { second.Run(mutexes, journal); });
  EXPECT_EQ(second.dialogsMade, 0);
  ASSERT_EQ(second.messages.shown.size(), 1u);
  EXPECT_EQ(second.messages.shown[0].textId, IDS_ALREADY_RUNNING);
  EXPECT_EQ(second.messages.shown[0].captionId, IDS_CAPTION);
  EXPECT_EQ(second.messages.shown[0].style, 0x30u);
  EXPECT_EQ(second.locale.locales, std::vector<std::uint32_t>{0x0409});
  EXPECT_EQ(mutexes.created,
            (std::vector<std::string>{"VELDARA Config", "VELDARA Config", "VELDARA Config Mutex"}));
  EXPECT_EQ(first.dialogsMade, 1);
}

TEST(ConfigProgram, ThirdCopyDuringTheMessageExitsSilently) {
  std::vector<std::string> journal;
  JournalMutexes mutexes(journal);
  Copy first;
  Copy second;
  Copy third;
  second.messages.whileOpen = [&] { third.Run(mutexes, journal); };
  first.Run(mutexes, journal, [&] { second.Run(mutexes, journal); });
  EXPECT_EQ(second.messages.shown.size(), 1u);
  EXPECT_TRUE(third.messages.shown.empty());
  EXPECT_EQ(third.dialogsMade, 0);
}

TEST(ConfigProgram, AnotherCopyAfterTheMessageClosedWarnsAgain) {
  std::vector<std::string> journal;
  JournalMutexes mutexes(journal);
  Copy first;
  Copy second;
  Copy later;
  first.Run(mutexes, journal, [&] {
    second.Run(mutexes, journal);
    later.Run(mutexes, journal);
  });
  EXPECT_EQ(second.messages.shown.size(), 1u);
  EXPECT_EQ(later.messages.shown.size(), 1u);
}

TEST(ConfigProgram, CopyStartedAfterTheFirstEndedRunsNormally) {
  std::vector<std::string> journal;
  JournalMutexes mutexes(journal);
  Copy first;
  Copy next;
  first.Run(mutexes, journal);
  next.Run(mutexes, journal);
  EXPECT_EQ(next.dialogsMade, 1);
  EXPECT_TRUE(next.messages.shown.empty());
}

TEST(ConfigProgram, FailedMutexCreationCountsAsTheFirstCopy) {
  std::vector<std::string> journal;
  JournalMutexes mutexes(journal);
  mutexes.failCreate = true;
  Copy copy;
  copy.Run(mutexes, journal);
  EXPECT_EQ(copy.dialogsMade, 1);
  EXPECT_EQ(journal, (std::vector<std::string>{"construct dialog", "run dialog", "destroy dialog"}))
      << "no handle, nothing to release";
}

}  // namespace
