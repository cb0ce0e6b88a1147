// Scripted shell and COM: the desktop folder's item list and display name,
// shell link objects that record what is set on them and saved, results per
// step, counts of COM initialisations and of objects still alive, the last
// error and the lines written to standard output. Calls that matter for order
// go to an optional journal shared with other fakes.
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/shell.h"

namespace fakes {

struct SavedLink {
  std::string target;
  std::string description;
  std::string arguments;
  std::string workingDirectory;
  bool remembered = false;  // Save made it the object's current file
};

class FakeShell : public platform::Shell {
 public:
  // Results of the steps, success unless set.
  platform::HResult initializeResult = platform::kHrOk;
  platform::HResult specialFolderResult = platform::kHrOk;
  platform::HResult desktopFolderResult = platform::kHrOk;
  platform::HResult displayNameResult = platform::kHrOk;  // a failure leaves the name untouched
  platform::HResult createLinkResult = platform::kHrOk;
  platform::HResult queryPersistResult = platform::kHrOk;
  platform::HResult setPathResult = platform::kHrOk;
  platform::HResult setDescriptionResult = platform::kHrOk;
  platform::HResult setArgumentsResult = platform::kHrOk;
  platform::HResult setWorkingDirectoryResult = platform::kHrOk;
  platform::HResult saveResult = platform::kHrOk;
  bool ansiToWideFails = false;
  std::uint32_t wideToAnsiError = 0;  // non-zero: the wide conversion fails with this last error
  // The desktop folder's name as GetDisplayNameOf gives it, and the item list's bytes.
  platform::StrRet displayName = WideName(u"C:\\Users\\Player\\Desktop");
  std::vector<std::uint8_t> itemListBytes = {2, 0, 0, 0};

  int comInitializations = 0;
  int comUninitializations = 0;
  int liveLinks = 0;
  int livePersistFiles = 0;
  int liveItemLists = 0;
  int liveFolders = 0;
  std::uint32_t lastError = 0;
  std::vector<std::string> steps;   // every shell link step made, e.g. "SetPath"
  std::map<std::string, SavedLink> saved;  // link files by path
  std::string standardOutput;
  std::vector<std::string>* journal = nullptr;

  static platform::StrRet WideName(const std::u16string& name) {
    platform::StrRet result;
    result.type = platform::kStrRetWstr;
    result.wide = name;
    return result;
  }

  platform::HResult InitializeCom() override {
    Log("CoInitialize");
    ++comInitializations;
    return initializeResult;
  }
  void UninitializeCom() override {
    Log("CoUninitialize");
    ++comUninitializations;
  }
  platform::HResult GetSpecialFolderLocation(int, std::unique_ptr<platform::ItemList>* list) override {
    if (platform::HrSucceeded(specialFolderResult)) *list = std::make_unique<List>(this);
    return specialFolderResult;
  }
  platform::HResult GetDesktopFolder(std::unique_ptr<platform::ShellFolder>* folder) override {
    if (platform::HrSucceeded(desktopFolderResult)) *folder = std::make_unique<Folder>(this);
    return desktopFolderResult;
  }
  platform::HResult CreateShellLink(std::unique_ptr<platform::ShellLink>* link) override {
    steps.push_back("CreateShellLink");
    if (platform::HrSucceeded(createLinkResult)) *link = std::make_unique<Link>(this);
    return createLinkResult;
  }
  int WideToAnsi(const std::u16string& wide, char* text, int size) override {
    if (wideToAnsiError != 0 || static_cast<int>(wide.size()) + 1 > size) {
      lastError = wideToAnsiError != 0 ? wideToAnsiError : platform::kErrorInsufficientBuffer;
      return 0;
    }
    for (std::size_t i = 0; i < wide.size(); ++i) text[i] = static_cast<char>(wide[i]);
    text[wide.size()] = '\0';
    return static_cast<int>(wide.size()) + 1;
  }
  int AnsiToWide(const char* text, char16_t* wide, int size) override {
    int length = static_cast<int>(std::strlen(text));
    if (ansiToWideFails || length + 1 > size) {
      lastError = platform::kErrorInsufficientBuffer;
      return 0;
    }
    for (int i = 0; i <= length; ++i) wide[i] = static_cast<unsigned char>(text[i]);
    return length + 1;
  }
  void SetLastError(std::uint32_t error) override { lastError = error; }
  std::uint32_t GetLastError() override { return lastError; }
  void WriteStandardOutput(const std::string& text) override { standardOutput += text; }

  void Log(const std::string& call) {
    if (journal != nullptr) journal->push_back(call);
  }

 private:
  class List : public platform::ItemList {
   public:
    explicit List(FakeShell* owner) : owner_(owner) { ++owner_->liveItemLists; }
    ~List() override { --owner_->liveItemLists; }
    std::vector<std::uint8_t> Bytes() override { return owner_->itemListBytes; }

   private:
    FakeShell* owner_;
  };

  class Folder : public platform::ShellFolder {
   public:
    explicit Folder(FakeShell* owner) : owner_(owner) { ++owner_->liveFolders; }
    ~Folder() override { --owner_->liveFolders; }
    platform::HResult GetDisplayNameOf(platform::ItemList&, std::uint32_t flags, platform::StrRet* name) override {
      if (flags != platform::kShgdnForParsing) return platform::kHrFail;
      if (!platform::HrSucceeded(owner_->displayNameResult)) return owner_->displayNameResult;
      *name = owner_->displayName;
      return platform::kHrOk;
    }

   private:
    FakeShell* owner_;
  };

  class Link;

  class File : public platform::PersistFile {
   public:
    File(FakeShell* owner, Link* link) : owner_(owner), link_(link) { ++owner_->livePersistFiles; }
    ~File() override { --owner_->livePersistFiles; }
    platform::HResult Save(const char16_t* path, bool remember) override {
      owner_->steps.push_back("Save");
      if (!platform::HrSucceeded(owner_->saveResult)) return owner_->saveResult;
      std::string narrow;
      for (const char16_t* c = path; *c != 0; ++c) narrow += static_cast<char>(*c);
      owner_->saved[narrow] = link_->fields;
      owner_->saved[narrow].remembered = remember;
      owner_->Log("SaveLink(" + narrow + ")");
      return platform::kHrOk;
    }

   private:
    FakeShell* owner_;
    Link* link_;
  };

  class Link : public platform::ShellLink {
   public:
    explicit Link(FakeShell* owner) : owner_(owner) { ++owner_->liveLinks; }
    ~Link() override { --owner_->liveLinks; }
    platform::HResult QueryPersistFile(std::unique_ptr<platform::PersistFile>* file) override {
      owner_->steps.push_back("QueryPersistFile");
      if (platform::HrSucceeded(owner_->queryPersistResult)) *file = std::make_unique<File>(owner_, this);
      return owner_->queryPersistResult;
    }
    platform::HResult SetPath(const char* value) override {
      return Set("SetPath", owner_->setPathResult, &fields.target, value);
    }
    platform::HResult SetDescription(const char* value) override {
      return Set("SetDescription", owner_->setDescriptionResult, &fields.description, value);
    }
    platform::HResult SetArguments(const char* value) override {
      return Set("SetArguments", owner_->setArgumentsResult, &fields.arguments, value);
    }
    platform::HResult SetWorkingDirectory(const char* value) override {
      return Set("SetWorkingDirectory", owner_->setWorkingDirectoryResult, &fields.workingDirectory, value);
    }
    SavedLink fields;

   private:
    platform::HResult Set(const char* step, platform::HResult result, std::string* field, const char* value) {
      owner_->steps.push_back(step);
      if (platform::HrSucceeded(result)) *field = value;
      return result;
    }
    FakeShell* owner_;
  };
};

}  // namespace fakes
