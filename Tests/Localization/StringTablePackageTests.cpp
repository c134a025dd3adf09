// StringTable packages read by the package reader: every editor version's layout, the asset list
// of the header, the table exactly as stored, and every refusal with its reason.
#include "CoreMinimal.h"
#include "Host/PackageFile.h"
#include "Internationalization/StringTableCore.h"
#include "PackageFixtures.h"
#include "ScopedTestFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
	using namespace OrvexTestPackages;
	namespace Package = UE::Host::PackageFile;

	// The table's contents in table order: "[key=source{id=value,...}]", namespace first.
	std::string Dump(const FStringTable& Table)
	{
		std::string Out = "(" + UE::Host::StringToUtf8(Table.GetNamespace()) + ")";
		Table.EnumerateKeysAndSourceStrings([&Table, &Out](const FTextKey& Key, const FString& Source)
		{
			Out += "[" + UE::Host::StringToUtf8(Key.ToString()) + "=" + UE::Host::StringToUtf8(Source);
			Table.EnumerateMetaData(Key, [&Out](FName Id, const FString& Value)
			{
				Out += "{" + UE::Host::StringToUtf8(Id.ToString()) + "=" + UE::Host::StringToUtf8(Value) + "}";
				return true;
			});
			Out += "]";
			return true;
		});
		return Out;
	}

	std::string Load(const std::string& Bytes, const TCHAR* ObjectName = TEXT("ST_Menu"))
	{
		FStringTableRef Table = FStringTable::NewStringTable();
		FString Error;
		if (!Package::LoadStringTable(Bytes, FStringView(ObjectName), *Table, Error))
		{
			return "error: " + UE::Host::StringToUtf8(Error);
		}
		return Dump(*Table);
	}

	std::string ListError(const std::string& Bytes)
	{
		TArray<Package::FListedAsset> Assets;
		FString Error;
		return Package::ReadAssetList(Bytes, Assets, Error) ? std::string("listed") : UE::Host::StringToUtf8(Error);
	}

	const char* const FourEntryDump = "(UI)[Long=1234567890{Context=Gameplay}][Alpha=Primary value{Note=Detail}{Context=Menu}][ Pad=Padded key][Empty=]";
}

TEST(StringTablePackage, EveryEditorVersionGivesTheTableAsStored)
{
	for (const EEditorVersion Version : AllEditorVersions())
	{
		for (const int MetaDataExport : {0, 1})
		{
			for (const bool bPropertyTag : {false, true})
			{
				FPackageOptions Options;
				Options.Version = Version;
				Options.MetaDataExport = MetaDataExport;
				Options.bPropertyTag = bPropertyTag;
				Options.bObjectGuid = bPropertyTag;
				const std::string Bytes = WriteStringTablePackage(FourEntryTable(), Options);
				const std::string What = std::string(GetVersionName(Version)) + (MetaDataExport ? " with PackageMetaData" : "") + (bPropertyTag ? " with a property tag" : "");

				TArray<Package::FListedAsset> Assets;
				FString Error;
				ASSERT_TRUE(Package::ReadAssetList(Bytes, Assets, Error)) << What << ": " << UE::Host::StringToUtf8(Error);
				ASSERT_EQ(Assets.Num(), 1) << What;
				EXPECT_EQ(UE::Host::StringToUtf8(Assets[0].AssetName.ToString()), "ST_Menu") << What;
				// 5.0 and older name the class StringTable alone.
				EXPECT_EQ(UE::Host::StringToUtf8(Assets[0].ClassPath.ToString()), "/Script/Engine.StringTable") << What;
				EXPECT_FALSE(Assets[0].IsRedirector());

				EXPECT_EQ(Load(Bytes), FourEntryDump) << What;
				EXPECT_EQ(Load(Bytes, TEXT("")), FourEntryDump) << What;
			}
		}
	}
}

TEST(StringTablePackage, TextIsKeptExactlyWhateverItsEncoding)
{
	for (const EEditorVersion Version : {EEditorVersion::UE4_27, EEditorVersion::UE5_7})
	{
		FPackageOptions Options;
		Options.Version = Version;
		const std::string Expected = "(Équipement)[Épée_Nom=Épée à deux mains{Comment=ligne 1\r\nligne 2}][剣=💎 gem\r\n{Note_2=注}][Plain=ASCII only]";
		EXPECT_EQ(Load(WriteStringTablePackage(NonAsciiTable(), Options)), Expected) << GetVersionName(Version);
		// Single-byte strings are Latin-1, never UTF-8: "É" stored as the byte 0xC9.
		Options.bLatin1UpTo0xFF = true;
		EXPECT_EQ(Load(WriteStringTablePackage(NonAsciiTable(), Options)), Expected) << GetVersionName(Version);
	}

	FStringTableRef Table = FStringTable::NewStringTable();
	FString Error;
	ASSERT_TRUE(Package::LoadStringTable(WriteStringTablePackage(NonAsciiTable()), FStringView(), *Table, Error));
	FString Source;
	ASSERT_TRUE(Table->GetSourceString(FTextKey(UE::Host::Utf8ToString("剣")), Source));
	// The surrogate pair stays two code units.
	EXPECT_EQ(Source.Len(), 8);
	EXPECT_EQ(Source[0], 0xD83D);
	EXPECT_EQ(Source[1], 0xDC8E);
}

TEST(StringTablePackage, AnEmptyTableAndAnEmptyNamespaceLoad)
{
	const FTableContent Empty;
	for (const EEditorVersion Version : {EEditorVersion::UE5_0, EEditorVersion::UE5_6})
	{
		FPackageOptions Options;
		Options.Version = Version;
		EXPECT_EQ(Load(WriteStringTablePackage(Empty, Options)), "()") << GetVersionName(Version);
	}
}

TEST(StringTablePackage, TheExportIsChosenByItsClassAndName)
{
	// A redirector's name table mentions StringTable, and the asset registry lists it: neither
	// makes it a table.
	FPackageOptions Options;
	Options.PackageName = "/Game/Old/ST_Old";
	const std::string Redirector = WriteRedirectorPackage("/Game/UI/ST_Menu.ST_Menu", Options);
	EXPECT_EQ(Load(Redirector, TEXT("ST_Old")), "error: the package holds no StringTable export named 'ST_Old'");
	TArray<Package::FListedAsset> Assets;
	FString Error;
	ASSERT_TRUE(Package::ReadAssetList(Redirector, Assets, Error));
	ASSERT_EQ(Assets.Num(), 1);
	EXPECT_TRUE(Assets[0].IsRedirector());
	EXPECT_EQ(UE::Host::StringToUtf8(Assets[0].AssetName.ToString()), "ST_Old");
	EXPECT_EQ(UE::Host::StringToUtf8(Assets[0].RedirectTarget), "/Game/UI/ST_Menu.ST_Menu");

	Options.Version = EEditorVersion::UE5_0;
	ASSERT_TRUE(Package::ReadAssetList(WriteRedirectorPackage("/Game/UI/ST_Menu.ST_Menu", Options), Assets, Error));
	EXPECT_TRUE(Assets[0].IsRedirector()) << "the short class name of 5.0";

	const std::string Texture = WriteOtherAssetPackage("/Script/Engine.Texture2D", {{"Dimensions", "256x256"}});
	EXPECT_EQ(Load(Texture), "error: the package holds no StringTable export named 'ST_Menu'");
	ASSERT_TRUE(Package::ReadAssetList(Texture, Assets, Error));
	EXPECT_EQ(UE::Host::StringToUtf8(Assets[0].ClassPath.ToString()), "/Script/Engine.Texture2D");

	EXPECT_EQ(Load(WriteStringTablePackage(FourEntryTable()), TEXT("ST_Other")), "error: the package holds no StringTable export named 'ST_Other'");
}

TEST(StringTablePackage, PackagesNotSavedByAKnownEditorAreRefusedWithTheReason)
{
	const std::string Good = WriteStringTablePackage(FourEntryTable());
	const auto With = [](auto&& Change)
	{
		FPackageOptions Options;
		Change(Options);
		return WriteStringTablePackage(FourEntryTable(), Options);
	};
	struct FCase
	{
		const char* What;
		std::string Bytes;
		const char* Reason;
	};
	const FCase Cases[] = {
		{"large-file pointer", LargeFilePointer(Good), "not a package but a large-file pointer of a version control system (the file's content was never fetched)"},
		{"text", "\"Key\",\"SourceString\"\n", "not a package: the file holds text"},
		{"empty file", "", "not a package: the file is shorter than a package tag"},
		{"big-endian", SwapPackageTag(Good), "a big-endian package (saved for another platform), which is not read"},
		{"cooked", With([](FPackageOptions& O) { O.ExtraPackageFlags = 0x200; }), "a cooked package (package flags 0x00000200), which is not read"},
		{"filtered", With([](FPackageOptions& O) { O.ExtraPackageFlags = 0x80000000u; }), "a cooked package (package flags 0x80000000), which is not read"},
		{"unversioned properties", With([](FPackageOptions& O) { O.ExtraPackageFlags = 0x2000; }), "a cooked package (package flags 0x00002000), which is not read"},
		{"unversioned", With([](FPackageOptions& O) { O.bUnversioned = true; }), "an unversioned package (cooked for a game), which is not read"},
		{"compressed", With([](FPackageOptions& O) { O.CompressedChunkCount = 2; }), "a compressed package (2 compressed chunks), which is not read"},
		{"newer format", With([](FPackageOptions& O) { O.LegacyFileVersionOverride = -10; }),
			"the package format (legacy version -10) is newer than the newest this reader knows (-9, editor 5.7)"},
		{"newer UE5", With([](FPackageOptions& O) { O.FileVersionUE5Override = 1019; }),
			"file version 522/1019 is newer than the newest this reader knows (522/1018, editor 5.7)"},
	};
	for (const FCase& Case : Cases)
	{
		EXPECT_EQ(ListError(Case.Bytes), Case.Reason) << Case.What;
		EXPECT_EQ(Load(Case.Bytes), std::string("error: ") + Case.Reason) << Case.What;
	}
}

TEST(StringTablePackage, TheExportMustBeReadToExactlyItsRecordedSize)
{
	const auto WithDelta = [](int64 Delta)
	{
		FPackageOptions Options;
		Options.SerialSizeDelta = Delta;
		Options.Version = EEditorVersion::UE5_4;
		return WriteStringTablePackage(FourEntryTable(), Options);
	};
	// One byte more than the table reads: the bytes after it would be lost.
	EXPECT_EQ(Load(WithDelta(1)).substr(0, 62), "error: damaged: the StringTable export reads 202 of its record");
	EXPECT_NE(Load(WithDelta(-1)).find("error: damaged: the StringTable export reads past its recorded end"), std::string::npos) << Load(WithDelta(-1));
	// The header alone does not show it: discovery lists the table.
	EXPECT_EQ(ListError(WithDelta(1)), "listed");

	// An export beyond the end of the file: the rest is in a .uexp file, or the file was cut.
	const std::string Good = WriteStringTablePackage(FourEntryTable());
	EXPECT_EQ(Load(WithDelta(100000)).substr(0, 60), "error: the StringTable export (100202 bytes at offset 1207) ");
	EXPECT_NE(Load(WithDelta(100000)).find("truncated, or split into a .uexp file"), std::string::npos);
}

TEST(StringTablePackage, TruncatedOrDamagedBytesFailAndLeaveTheTableAlone)
{
	FStringTableRef Table = FStringTable::NewStringTable();
	Table->SetNamespace(TEXT("Kept"));
	Table->SetSourceString(FTextKey(TEXT("K")), TEXT("V"));
	const std::string Before = Dump(*Table);

	for (const EEditorVersion Version : {EEditorVersion::UE4_27, EEditorVersion::UE5_0, EEditorVersion::UE5_7})
	{
		FPackageOptions Options;
		Options.Version = Version;
		Options.bPropertyTag = true;
		const std::string Bytes = WriteStringTablePackage(NonAsciiTable(), Options);
		// Every cut short of the whole file, including those inside the trailer, fails: the
		// summary records where everything lies.
		for (size_t Length = 0; Length < Bytes.size(); ++Length)
		{
			FString Error;
			const std::string Cut = Bytes.substr(0, Length);
			ASSERT_FALSE(Package::LoadStringTable(Cut, FStringView(), *Table, Error)) << GetVersionName(Version) << " cut at " << Length;
			ASSERT_FALSE(Error.IsEmpty());
		}
		// A flipped byte anywhere either fails with a reason or still yields a whole table.
		for (size_t Offset = 0; Offset < Bytes.size(); ++Offset)
		{
			std::string Damaged = Bytes;
			Damaged[Offset] = static_cast<char>(Damaged[Offset] ^ 0x81);
			FStringTableRef Scratch = FStringTable::NewStringTable();
			FString Error;
			if (!Package::LoadStringTable(Damaged, FStringView(), *Scratch, Error))
			{
				ASSERT_FALSE(Error.IsEmpty()) << Offset;
			}
			TArray<Package::FListedAsset> Assets;
			Package::ReadAssetList(Damaged, Assets, Error);
		}
	}
	EXPECT_EQ(Dump(*Table), Before);

	// Named damage: a name index outside the name table, a string without its terminator.
	std::string Bytes = WriteStringTablePackage(FourEntryTable());
	const size_t Namespace = Bytes.find(std::string("\x03\x00\x00\x00UI\x00", 7));
	ASSERT_NE(Namespace, std::string::npos);
	std::string Unterminated = Bytes;
	Unterminated[Namespace + 6] = 'X';
	EXPECT_NE(Load(Unterminated).find("damaged: a string in the StringTable export lacks its terminating zero"), std::string::npos) << Load(Unterminated);
}

TEST(StringTablePackage, DiscoveryReadsTheHeaderAloneFromTheFile)
{
	// Many metadata ids make a name table, and so a header, larger than one read.
	FTableContent Table;
	Table.Namespace = u"Wide";
	for (int32 Index = 0; Index < 300; ++Index)
	{
		const std::u16string Number = U16(std::to_string(Index));
		Table.Entries.push_back({u"Key_" + Number, u"Text " + Number, {{u"Column_" + Number, u"v"}}});
	}
	const std::string Bytes = WriteStringTablePackage(Table);
	FScopedTestFolder Folder;
	Folder.WriteFile(TEXT("ST_Menu.uasset"), Bytes);
	// Cut well after the header: what discovery reads is whole, what loading reads is not.
	Folder.WriteFile(TEXT("ST_Cut.uasset"), std::string_view(Bytes).substr(0, Bytes.size() * 3 / 4));

	for (const TCHAR* File : {TEXT("ST_Menu.uasset"), TEXT("ST_Cut.uasset")})
	{
		TArray<Package::FListedAsset> Assets;
		FString Error;
		ASSERT_TRUE(Package::ReadAssetList(Folder.Path(File), Assets, Error)) << ToUtf8(File) << ": " << ToUtf8(Error);
		ASSERT_EQ(Assets.Num(), 1);
		EXPECT_EQ(ToUtf8(Assets[0].AssetName.ToString()), "ST_Menu");
	}
	FStringTableRef Loaded = FStringTable::NewStringTable();
	FString Error;
	ASSERT_TRUE(Package::LoadStringTableFile(Folder.Path(TEXT("ST_Menu.uasset")), FStringView(), *Loaded, Error)) << ToUtf8(Error);
	EXPECT_EQ(ToUtf8(Loaded->GetMetaData(FTextKey(TEXT("Key_299")), FName(TEXT("Column_299")))), "v");
	EXPECT_FALSE(Package::LoadStringTableFile(Folder.Path(TEXT("ST_Cut.uasset")), FStringView(), *Loaded, Error));
	EXPECT_EQ(ToUtf8(Error), "truncated: the file does not end with the package tag");
	TArray<Package::FListedAsset> Assets;
	EXPECT_FALSE(Package::ReadAssetList(Folder.Path(TEXT("Missing.uasset")), Assets, Error));
	EXPECT_EQ(ToUtf8(Error), "cannot open the file (No such file or directory)");
}
