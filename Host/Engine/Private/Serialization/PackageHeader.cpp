#include "PackageHeader.h"

namespace UE::Host::Package
{
	namespace
	{
		constexpr uint32 SwappedPackageTag = 0xC1832A9Eu;

		// Package flags of packages saved for a game rather than by the editor.
		constexpr uint32 PKG_FilterEditorOnly = 0x80000000u;
		constexpr uint32 PKG_Cooked = 0x00000200u;
		constexpr uint32 PKG_UnversionedProperties = 0x00002000u;

		constexpr int32 GuidSize = 16;

		// What a file that is not a package starts with, to say what it is instead.
		FString DescribeForeignFile(FPackageReader& Reader)
		{
			Reader.Seek(0, TEXT("the start"));
			std::string Start;
			const int64 Count = std::min<int64>(Reader.TotalSize(), 64);
			for (int64 Index = 0; Index < Count; ++Index)
			{
				Start.push_back(static_cast<char>(Reader.ReadUInt8()));
			}
			if (Start.starts_with("version https://git-lfs"))
			{
				return TEXT("not a package but a large-file pointer of a version control system (the file's content was never fetched)");
			}
			const bool bText = !Start.empty() && std::all_of(Start.begin(), Start.end(), [](char C) { return (C >= 0x20 && C < 0x7F) || C == '\n' || C == '\r' || C == '\t'; });
			return bText ? TEXT("not a package: the file holds text") : TEXT("not a package: it does not start with the package tag");
		}

		// Moves to a table of Count entries; false (and a failure) when it cannot fit in the file,
		// checked before anything is allocated for it.
		bool SeekTable(FPackageReader& Reader, int32 Offset, int32 Count, int64 MinEntrySize, const TCHAR* What)
		{
			Reader.Seek(Offset, What);
			Reader.SetContext(What);
			if (Reader.IsError())
			{
				return false;
			}
			if (static_cast<int64>(Count) * MinEntrySize > Reader.TotalSize() - Reader.Tell())
			{
				Reader.Fail(FString::Printf(TEXT("truncated: %s of %d entries cannot fit in the file"), What, Count));
				return false;
			}
			return true;
		}

		// Skips an engine version: three uint16, a changelist and a branch name.
		void SkipEngineVersion(FPackageReader& Reader)
		{
			Reader.Skip(2 * 3 + 4);
			Reader.SkipString();
		}
	}

	bool NamesEqual(std::u16string_view A, std::u16string_view B)
	{
		if (A.size() != B.size())
		{
			return false;
		}
		for (size_t Index = 0; Index < A.size(); ++Index)
		{
			char16_t Left = A[Index];
			char16_t Right = B[Index];
			Left = (Left >= u'A' && Left <= u'Z') ? static_cast<char16_t>(Left + 32) : Left;
			Right = (Right >= u'A' && Right <= u'Z') ? static_cast<char16_t>(Right + 32) : Right;
			if (Left != Right)
			{
				return false;
			}
		}
		return true;
	}

	void ReadSummary(FPackageReader& Reader, FPackageSummary& Out)
	{
		Reader.SetContext(TEXT("the package summary"));
		if (Reader.TotalSize() < 4)
		{
			Reader.Fail(TEXT("not a package: the file is shorter than a package tag"));
			return;
		}
		const uint32 Tag = Reader.ReadUInt32();
		if (Tag == SwappedPackageTag)
		{
			Reader.Fail(TEXT("a big-endian package (saved for another platform), which is not read"));
			return;
		}
		if (Tag != PackageTag)
		{
			const FString Reason = DescribeForeignFile(Reader);
			Reader.Fail(Reason);
			return;
		}

		Out.LegacyFileVersion = Reader.ReadInt32();
		if (Reader.IsError())
		{
			return;
		}
		if (Out.LegacyFileVersion < -9)
		{
			Reader.Fail(FString::Printf(TEXT("the package format (legacy version %d) is newer than the newest this reader knows (-9, editor 5.7)"), Out.LegacyFileVersion));
			return;
		}
		if (Out.LegacyFileVersion > -6)
		{
			Reader.Fail(FString::Printf(TEXT("the package format (legacy version %d) is older than the oldest this reader knows (-6)"), Out.LegacyFileVersion));
			return;
		}
		Reader.ReadInt32(); // LegacyUE3Version
		Out.FileVersionUE4 = Reader.ReadInt32();
		Out.FileVersionUE5 = Out.LegacyFileVersion <= -8 ? Reader.ReadInt32() : 0;
		const int32 Licensee = Reader.ReadInt32();
		if (Reader.IsError())
		{
			return;
		}
		const int32 UE4 = Out.FileVersionUE4;
		const int32 UE5 = Out.FileVersionUE5;
		if (UE4 == 0 && UE5 == 0 && Licensee == 0)
		{
			Reader.Fail(TEXT("an unversioned package (cooked for a game), which is not read"));
			return;
		}
		if (UE5 > NewestFileVersionUE5 || UE4 > NewestFileVersionUE4)
		{
			Reader.Fail(FString::Printf(TEXT("file version %d/%d is newer than the newest this reader knows (%d/%d, editor 5.7)"), UE4, UE5, NewestFileVersionUE4, NewestFileVersionUE5));
			return;
		}
		if (UE4 < 214)
		{
			Reader.Fail(FString::Printf(TEXT("file version %d is older than the oldest an editor loads (214)"), UE4));
			return;
		}

		if (UE5 >= 1016)
		{
			Reader.Skip(20); // saved hash
			Out.TotalHeaderSize = Reader.ReadInt32();
		}
		Reader.SetContext(TEXT("the custom versions"));
		const int32 CustomVersions = Reader.ReadCount(GuidSize + 4);
		Reader.Skip(static_cast<int64>(CustomVersions) * (GuidSize + 4));
		Reader.SetContext(TEXT("the package summary"));
		if (UE5 < 1016)
		{
			Out.TotalHeaderSize = Reader.ReadInt32();
		}
		Reader.SkipString(); // PackageName: "None" in older packages; the file's path names the package
		Out.PackageFlags = Reader.ReadUInt32();
		if (Reader.IsError())
		{
			return;
		}
		if (Out.PackageFlags & (PKG_FilterEditorOnly | PKG_Cooked | PKG_UnversionedProperties))
		{
			Reader.Fail(FString::Printf(TEXT("a cooked package (package flags 0x%08X), which is not read"), Out.PackageFlags));
			return;
		}
		if (Out.TotalHeaderSize < 0 || Out.TotalHeaderSize > Reader.TotalSize())
		{
			Reader.Fail(FString::Printf(TEXT("truncated: the header is %d bytes, the file has %lld"), Out.TotalHeaderSize, static_cast<long long>(Reader.TotalSize())));
			return;
		}

		// Nothing below is filtered: filtered packages were refused above.
		Out.NameCount = Reader.ReadInt32();
		Out.NameOffset = Reader.ReadInt32();
		if (UE5 >= 1008)
		{
			Reader.Skip(8); // soft object paths
		}
		if (UE4 >= 516)
		{
			Reader.SkipString(); // LocalizationId
		}
		if (UE4 >= 459)
		{
			Reader.Skip(8); // gatherable text data
		}
		Out.ExportCount = Reader.ReadInt32();
		Out.ExportOffset = Reader.ReadInt32();
		Out.ImportCount = Reader.ReadInt32();
		Out.ImportOffset = Reader.ReadInt32();
		if (UE5 >= 1015)
		{
			Reader.Skip(16); // cell exports and imports
		}
		if (UE5 >= 1014)
		{
			Reader.Skip(4); // MetaDataOffset
		}
		Reader.Skip(4); // DependsOffset
		if (UE4 >= 384)
		{
			Reader.Skip(8); // soft package references
		}
		if (UE4 >= 510)
		{
			Reader.Skip(4); // SearchableNamesOffset
		}
		Reader.Skip(4); // ThumbnailTableOffset
		if (UE5 >= 1018)
		{
			Reader.Skip(8); // import type hierarchies
		}
		if (UE5 < 1016)
		{
			Reader.Skip(GuidSize);
		}
		if (UE4 >= 518)
		{
			Reader.Skip(UE4 <= 519 ? 2 * GuidSize : GuidSize); // PersistentGuid, and OwnerPersistentGuid in 518-519
		}
		Reader.SetContext(TEXT("the generations"));
		const int32 Generations = Reader.ReadCount(8);
		Reader.Skip(static_cast<int64>(Generations) * 8);
		Reader.SetContext(TEXT("the package summary"));
		if (UE4 >= 336)
		{
			SkipEngineVersion(Reader); // saved by
		}
		if (UE4 >= 444)
		{
			SkipEngineVersion(Reader); // compatible with
		}
		Reader.ReadUInt32(); // CompressionFlags
		const int32 CompressedChunks = Reader.ReadInt32();
		if (!Reader.IsError() && CompressedChunks != 0)
		{
			Reader.Fail(FString::Printf(TEXT("a compressed package (%d compressed chunks), which is not read"), CompressedChunks));
			return;
		}
		Reader.Skip(4); // PackageSource
		const int32 PackagesToCook = Reader.ReadCount(4);
		for (int32 Index = 0; Index < PackagesToCook && !Reader.IsError(); ++Index)
		{
			Reader.SkipString();
		}
		if (Out.LegacyFileVersion > -7)
		{
			const int32 TextureAllocations = Reader.ReadInt32();
			if (!Reader.IsError() && TextureAllocations != 0)
			{
				Reader.Fail(TEXT("a cooked package (texture allocations), which is not read"));
				return;
			}
		}
		Out.AssetRegistryDataOffset = Reader.ReadInt32();
		Reader.Skip(8); // BulkDataStartOffset
		if (UE4 >= 224)
		{
			Reader.Skip(4); // WorldTileInfoDataOffset
		}
		if (UE4 >= 326)
		{
			Reader.SetContext(TEXT("the chunk ids"));
			Reader.Skip(static_cast<int64>(Reader.ReadCount(4)) * 4);
			Reader.SetContext(TEXT("the package summary"));
		}
		if (UE4 >= 507)
		{
			Reader.Skip(8); // preload dependencies
		}
		if (UE5 >= 1001)
		{
			Reader.Skip(4); // NamesReferencedFromExportDataCount
		}
		Out.PayloadTocOffset = UE5 >= 1002 ? Reader.ReadInt64() : -1;
		if (UE5 >= 1009)
		{
			Reader.Skip(4); // DataResourceOffset
		}
		if (Reader.IsError())
		{
			return;
		}
		if (Out.NameCount < 0 || Out.ImportCount < 0 || Out.ExportCount < 0)
		{
			Reader.Fail(FString::Printf(TEXT("damaged: negative table sizes (%d names, %d imports, %d exports)"), Out.NameCount, Out.ImportCount, Out.ExportCount));
		}
	}

	void ReadAssetRegistryBlock(FPackageReader& Reader, const FPackageSummary& Summary, TArray<FRegistryObject>& OutObjects)
	{
		OutObjects.Reset();
		if (Reader.IsError() || Summary.AssetRegistryDataOffset <= 0)
		{
			return;
		}
		Reader.Seek(Summary.AssetRegistryDataOffset, TEXT("the asset registry block"));
		Reader.SetContext(TEXT("the asset registry block"));
		if (Summary.FileVersionUE4 >= 521)
		{
			Reader.Skip(8); // DependencyDataOffset
		}
		const int32 ObjectCount = Reader.ReadCount(12);
		for (int32 Index = 0; Index < ObjectCount && !Reader.IsError(); ++Index)
		{
			FRegistryObject& Object = OutObjects.AddDefaulted_GetRef();
			Object.ObjectPath = Reader.ReadString();
			Object.ClassName = Reader.ReadString();
			const int32 TagCount = Reader.ReadCount(8);
			for (int32 TagIndex = 0; TagIndex < TagCount && !Reader.IsError(); ++TagIndex)
			{
				const FString Key = Reader.ReadString();
				FString Value = Reader.ReadString();
				if (Key.Equals(TEXT("DestinationObject"), ESearchCase::IgnoreCase))
				{
					Object.DestinationObject = MoveTemp(Value);
				}
			}
		}
		if (Reader.IsError())
		{
			OutObjects.Reset();
		}
	}

	void FNameTable::Read(FPackageReader& Reader, const FPackageSummary& Summary)
	{
		Names.clear();
		if (!SeekTable(Reader, Summary.NameOffset, Summary.NameCount, Summary.FileVersionUE4 >= 504 ? 8 : 4, TEXT("the name table")))
		{
			return;
		}
		Names.resize(static_cast<size_t>(Summary.NameCount));
		for (std::u16string& Name : Names)
		{
			Reader.ReadString(Name);
			if (Summary.FileVersionUE4 >= 504)
			{
				Reader.Skip(4); // two hashes
			}
			if (Reader.IsError())
			{
				break;
			}
		}
	}

	std::u16string FNameTable::ReadName(FPackageReader& Reader) const
	{
		const int32 Index = Reader.ReadInt32();
		const int32 Number = Reader.ReadInt32();
		if (Reader.IsError())
		{
			return std::u16string();
		}
		if (Index < 0 || static_cast<size_t>(Index) >= Names.size())
		{
			Reader.Fail(FString::Printf(TEXT("damaged: %s refers to name %d of %d at offset %lld"), Reader.GetContext(), Index, static_cast<int32>(Names.size()), static_cast<long long>(Reader.Tell() - 8)));
			return std::u16string();
		}
		std::u16string Name = Names[static_cast<size_t>(Index)];
		if (Number != 0)
		{
			Name += u'_';
			const std::string Digits = std::to_string(static_cast<int64>(static_cast<uint32>(Number)) - 1);
			Name.append(Digits.begin(), Digits.end());
		}
		return Name;
	}

	FName FNameTable::ReadFName(FPackageReader& Reader)
	{
		const int64 At = Reader.Tell();
		const int32 Index = Reader.ReadInt32();
		const int32 Number = Reader.ReadInt32();
		if (Reader.IsError() || Number != 0 || Index < 0 || static_cast<size_t>(Index) >= Names.size())
		{
			// Numbered names, and the failures, take the general path.
			Reader.Seek(At, TEXT("a name"));
			return FName(FStringView(ReadName(Reader)));
		}
		Made.resize(Names.size());
		if (Made[static_cast<size_t>(Index)].IsNone())
		{
			Made[static_cast<size_t>(Index)] = FName(FStringView(Names[static_cast<size_t>(Index)]));
		}
		return Made[static_cast<size_t>(Index)];
	}

	void ReadImports(FPackageReader& Reader, const FPackageSummary& Summary, const FNameTable& Names, std::vector<FImportEntry>& OutImports)
	{
		OutImports.clear();
		const int64 EntrySize = 28 + (Summary.FileVersionUE4 >= 520 ? 8 : 0) + (Summary.FileVersionUE5 >= 1003 ? 4 : 0);
		if (!SeekTable(Reader, Summary.ImportOffset, Summary.ImportCount, EntrySize, TEXT("the import table")))
		{
			return;
		}
		OutImports.resize(static_cast<size_t>(Summary.ImportCount));
		for (FImportEntry& Import : OutImports)
		{
			Import.ClassPackage = Names.ReadName(Reader);
			Import.ClassName = Names.ReadName(Reader);
			Import.OuterIndex = Reader.ReadInt32();
			Import.ObjectName = Names.ReadName(Reader);
			if (Summary.FileVersionUE4 >= 520)
			{
				Reader.Skip(8); // PackageName
			}
			if (Summary.FileVersionUE5 >= 1003)
			{
				Reader.ReadBool(); // bImportOptional
			}
			if (Reader.IsError())
			{
				break;
			}
		}
	}

	void ReadExports(FPackageReader& Reader, const FPackageSummary& Summary, const FNameTable& Names, std::vector<FExportEntry>& OutExports)
	{
		OutExports.clear();
		const int32 UE4 = Summary.FileVersionUE4;
		const int32 UE5 = Summary.FileVersionUE5;
		// 68 bytes: the smallest entry of any version.
		if (!SeekTable(Reader, Summary.ExportOffset, Summary.ExportCount, 68, TEXT("the export table")))
		{
			return;
		}
		OutExports.resize(static_cast<size_t>(Summary.ExportCount));
		for (FExportEntry& Export : OutExports)
		{
			Export.ClassIndex = Reader.ReadInt32();
			Reader.Skip(4); // SuperIndex
			if (UE4 >= 508)
			{
				Reader.Skip(4); // TemplateIndex
			}
			Export.OuterIndex = Reader.ReadInt32();
			Export.ObjectName = Names.ReadName(Reader);
			Reader.Skip(4); // ObjectFlags
			if (UE4 >= 511)
			{
				Export.SerialSize = Reader.ReadInt64();
				Export.SerialOffset = Reader.ReadInt64();
			}
			else
			{
				Export.SerialSize = Reader.ReadInt32();
				Export.SerialOffset = Reader.ReadInt32();
			}
			Reader.ReadBool(); // bForcedExport
			Reader.ReadBool(); // bNotForClient
			Reader.ReadBool(); // bNotForServer
			if (UE5 < 1005)
			{
				Reader.Skip(GuidSize); // PackageGuid
			}
			if (UE5 >= 1006)
			{
				Reader.ReadBool(); // bIsInheritedInstance
			}
			Reader.Skip(4); // PackageFlags
			Reader.ReadBool(); // bNotAlwaysLoadedForEditorGame
			Export.bIsAsset = Reader.ReadBool();
			if (UE5 >= 1003)
			{
				Reader.ReadBool(); // bGeneratePublicHash
			}
			Reader.Skip(4 * 5); // FirstExportDependency and the four dependency counts
			if (UE5 >= 1010)
			{
				// Versioned properties only, and unversioned packages were refused.
				Reader.Skip(16); // script serialization start and end
			}
			if (Reader.IsError())
			{
				break;
			}
		}
	}
}
