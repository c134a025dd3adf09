#include "Config/ConfigDiskState.h"

#include "Config/ConfigCommands.h"
#include "Config/ConfigMergeState.h"
#include "Containers/StringConv.h"
#include "Host/ConfigSystem.h"
#include "Host/HostEnvironment.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"

#include <cerrno>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
	using namespace UE::Host::Config;

	constexpr int32 MaxPlatformChain = 16;

	struct FDiskState
	{
		bool bChainKnown = false;
		TArray<FString> PlatformChain;
		FString BasePath;
		FFileStamp BaseStamp;
		FString BaseText;
		bool bBaseRead = false;
		TMap<FString, TArray<TPair<FString, FFileStamp>>> CategoryStamps;

		int WatchHandle = -1;
		bool bWatchFailed = false;
		TArray<FString> WatchedFolders;
	};

	FDiskState& GetState()
	{
		static FDiskState State;
		return State;
	}

	int64 ToNanoseconds(const timespec& Time)
	{
		return static_cast<int64>(Time.tv_sec) * 1000000000 + static_cast<int64>(Time.tv_nsec);
	}

	FString ReadIniParent(const FString& Platform)
	{
		FString Text;
		const FString Path = FPaths::EngineConfigDir() + Platform + TEXT("/DataDrivenPlatformInfo.ini");
		if (!FFileHelper::LoadFileToString(Text, *Path))
		{
			return FString();
		}
		FMergeFile File;
		CombineConfigText(File, Text);
		FMergeSection* Section = File.FindSection(TEXT("DataDrivenPlatformInfo"));
		if (!Section)
		{
			return FString();
		}
		const TArray<FConfigValue> Values = Section->GetValues(FName(TEXT("IniParent")));
		return Values.IsEmpty() ? FString() : Values.Last().GetValue().TrimStartAndEnd();
	}

	// The folders whose entries or files make up the layers: where one does not exist yet, its
	// nearest existing parent stands in, so that its creation is seen.
	TArray<FString> GetWatchFolders()
	{
		const UE::Host::FEnvironment& Environment = UE::Host::GetEnvironment();
		TArray<FString> Wanted;
		if (!Environment.EngineDir.IsEmpty())
		{
			Wanted.Add(FPaths::EngineConfigDir());
			for (const FString& Platform : GetIniPlatformChain())
			{
				Wanted.Add(FPaths::EngineConfigDir() + Platform + TEXT("/"));
			}
		}
		if (!Environment.ProjectDir.IsEmpty())
		{
			Wanted.Add(FPaths::ProjectConfigDir());
			for (const FString& Platform : GetIniPlatformChain())
			{
				Wanted.Add(FPaths::ProjectConfigDir() + Platform + TEXT("/"));
			}
			Wanted.Add(FPaths::GeneratedConfigDir() + Environment.SavedPlatformName + TEXT("/"));
		}
		if (!Environment.UserSettingsDir.IsEmpty())
		{
			Wanted.Add(Environment.UserSettingsDir + TEXT("Unreal Engine/Engine/Config/"));
		}
		TArray<FString> Folders;
		for (FString Folder : Wanted)
		{
			while (Folder.Len() > 1 && !FPaths::DirectoryExists(Folder))
			{
				Folder = FPaths::GetPath(Folder.LeftChop(1)) + TEXT("/");
			}
			if (FPaths::DirectoryExists(Folder) && !Folders.Contains(Folder))
			{
				Folders.Add(Folder);
			}
		}
		return Folders;
	}

	void ArmWatch(FDiskState& State)
	{
		if (State.WatchHandle < 0)
		{
			State.WatchHandle = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
			if (State.WatchHandle < 0)
			{
				State.bWatchFailed = true;
				return;
			}
		}
		constexpr uint32 Mask = IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF;
		for (const FString& Folder : GetWatchFolders())
		{
			if (State.WatchedFolders.Contains(Folder))
			{
				continue;
			}
			if (inotify_add_watch(State.WatchHandle, UE::Host::StringToUtf8(Folder).c_str(), Mask) < 0)
			{
				State.bWatchFailed = true;
				return;
			}
			State.WatchedFolders.Add(Folder);
		}
	}

	void CloseWatch(FDiskState& State)
	{
		if (State.WatchHandle >= 0)
		{
			close(State.WatchHandle);
		}
		State.WatchHandle = -1;
		State.bWatchFailed = false;
		State.WatchedFolders.Reset();
	}
}

namespace UE::Host::Config
{
	FFileStamp GetFileStamp(const FString& Path)
	{
		struct stat Info;
		FFileStamp Stamp;
		if (::stat(UE::Host::StringToUtf8(Path).c_str(), &Info) == 0)
		{
			Stamp.Size = static_cast<int64>(Info.st_size);
			Stamp.ModifiedNs = ToNanoseconds(Info.st_mtim);
			Stamp.ChangedNs = ToNanoseconds(Info.st_ctim);
			Stamp.Inode = static_cast<int64>(Info.st_ino);
		}
		return Stamp;
	}

	void ResetDiskState()
	{
		FDiskState& State = GetState();
		CloseWatch(State);
		State = FDiskState();
	}

	const TArray<FString>& GetIniPlatformChain()
	{
		FDiskState& State = GetState();
		if (!State.bChainKnown)
		{
			State.bChainKnown = true;
			State.PlatformChain.Reset();
			FString Platform = UE::Host::GetEnvironment().PlatformName;
			// A chain that loops or runs on without end stops at a fixed depth.
			while (!Platform.IsEmpty() && !State.PlatformChain.Contains(Platform) && State.PlatformChain.Num() < MaxPlatformChain)
			{
				State.PlatformChain.Insert(Platform, 0);
				Platform = UE::Host::GetEnvironment().EngineDir.IsEmpty() ? FString() : ReadIniParent(Platform);
			}
		}
		return State.PlatformChain;
	}

	bool GetAbsoluteBaseText(const FString& Path, FString& OutText)
	{
		FDiskState& State = GetState();
		const FFileStamp Stamp = GetFileStamp(Path);
		if (!State.bBaseRead || !State.BasePath.Equals(Path, ESearchCase::CaseSensitive) || !(State.BaseStamp == Stamp))
		{
			State.BasePath = Path;
			State.BaseStamp = Stamp;
			State.BaseText.Reset();
			State.bBaseRead = Stamp.Size >= 0 && FFileHelper::LoadFileToString(State.BaseText, *Path);
			if (!State.bBaseRead)
			{
				return false;
			}
		}
		OutText = State.BaseText;
		return true;
	}

	void RecordCategoryStamps(const FString& Category)
	{
		TArray<TPair<FString, FFileStamp>>& Stamps = GetState().CategoryStamps.FindOrAdd(Category);
		Stamps.Reset();
		for (const FConfigLayerFile& Layer : GetConfigLayerFiles(Category))
		{
			Stamps.Add(TPair<FString, FFileStamp>(Layer.Filename, GetFileStamp(Layer.Filename)));
		}
	}

	bool HaveCategoryFilesChanged(const FString& Category)
	{
		const TArray<TPair<FString, FFileStamp>>* Stamps = GetState().CategoryStamps.Find(Category);
		if (!Stamps)
		{
			return true;
		}
		for (const TPair<FString, FFileStamp>& Stamp : *Stamps)
		{
			if (!(GetFileStamp(Stamp.Key) == Stamp.Value))
			{
				return true;
			}
		}
		return false;
	}

	void ForgetCategoryStamps(const FString& Category)
	{
		GetState().CategoryStamps.Remove(Category);
	}

	bool TakeConfigFolderChanges()
	{
		FDiskState& State = GetState();
		if (State.bWatchFailed)
		{
			return true;
		}
		if (State.WatchHandle < 0)
		{
			ArmWatch(State);
			// Nothing was compared yet against the moment the watch began.
			return true;
		}
		alignas(inotify_event) char Buffer[8192];
		bool bChanged = false;
		while (true)
		{
			const ssize_t Count = read(State.WatchHandle, Buffer, sizeof(Buffer));
			if (Count > 0)
			{
				bChanged = true;
				continue;
			}
			if (Count < 0 && errno == EINTR)
			{
				continue;
			}
			break;
		}
		if (bChanged)
		{
			// Folders that were created since are watched from now on.
			ArmWatch(State);
		}
		return bChanged || State.bWatchFailed;
	}
}
