// Loading a StringTable from its package export: the export is picked by its class, read within
// its recorded size, and must end exactly there.
#include "Host/PackageFile.h"

#include "Internationalization/StringTableAccess.h"
#include "Internationalization/StringTableCore.h"
#include "Internationalization/TextKey.h"
#include "PackageHeader.h"


namespace UE::Host::PackageFile
{
	namespace
	{
		using namespace UE::Host::Package;

		// More type-name nodes than any property type has: the tag is damaged.
		constexpr int32 MaxTypeNameNodes = 256;

		// The class import of StringTable: /Script/CoreUObject Class "StringTable" inside the
		// package import /Script/Engine.
		int32 FindStringTableClassImport(const std::vector<FImportEntry>& Imports)
		{
			for (size_t Index = 0; Index < Imports.size(); ++Index)
			{
				const FImportEntry& Import = Imports[Index];
				if (!NamesEqual(Import.ObjectName, u"StringTable") || !NamesEqual(Import.ClassName, u"Class") || !NamesEqual(Import.ClassPackage, u"/Script/CoreUObject"))
				{
					continue;
				}
				const int32 Outer = -Import.OuterIndex - 1;
				if (Import.OuterIndex < 0 && static_cast<size_t>(Outer) < Imports.size() && NamesEqual(Imports[static_cast<size_t>(Outer)].ObjectName, u"/Script/Engine"))
				{
					return -static_cast<int32>(Index) - 1;
				}
			}
			return 0;
		}

		// Property tags up to the terminating None. A StringTable has no reflected properties, but
		// a tag that is there is skipped by its size.
		void SkipPropertyTags(FPackageReader& Reader, const FPackageSummary& Summary, const FNameTable& Names)
		{
			const int32 UE4 = Summary.FileVersionUE4;
			const int32 UE5 = Summary.FileVersionUE5;
			while (!Reader.IsError())
			{
				if (NamesEqual(Names.ReadName(Reader), u"None") || Reader.IsError())
				{
					return;
				}
				int32 Size = 0;
				if (UE5 >= 1012)
				{
					// The complete type name, a tree written in pre-order: each node a name and its
					// number of children.
					int64 Pending = 1;
					for (int32 Nodes = 0; Pending > 0 && !Reader.IsError(); ++Nodes)
					{
						Names.ReadName(Reader);
						const int32 Children = Reader.ReadInt32();
						if (Children < 0 || Nodes >= MaxTypeNameNodes)
						{
							Reader.Fail(TEXT("damaged: a property tag's type name is malformed"));
							return;
						}
						Pending += Children - 1;
					}
					Size = Reader.ReadInt32();
					const uint8 Flags = Reader.ReadUInt8();
					if (Flags & 0x01)
					{
						Reader.Skip(4); // ArrayIndex
					}
					if (Flags & 0x02)
					{
						Reader.Skip(16); // property GUID
					}
					if (Flags & 0x04)
					{
						if (Reader.ReadUInt8() & 0x02)
						{
							Reader.Skip(1); // overridable operation
						}
					}
				}
				else
				{
					const std::u16string Type = Names.ReadName(Reader);
					Size = Reader.ReadInt32();
					Reader.Skip(4); // ArrayIndex
					if (NamesEqual(Type, u"StructProperty"))
					{
						Names.ReadName(Reader);
						if (UE4 >= 441)
						{
							Reader.Skip(16); // struct GUID
						}
					}
					else if (NamesEqual(Type, u"BoolProperty"))
					{
						Reader.Skip(1); // the value itself
					}
					else if (NamesEqual(Type, u"ByteProperty") || NamesEqual(Type, u"EnumProperty") || NamesEqual(Type, u"OptionalProperty")
						|| (NamesEqual(Type, u"ArrayProperty") && UE4 >= 282) || (NamesEqual(Type, u"SetProperty") && UE4 >= 418))
					{
						Names.ReadName(Reader);
					}
					else if (NamesEqual(Type, u"MapProperty"))
					{
						Names.ReadName(Reader);
						Names.ReadName(Reader);
					}
					if (UE4 >= 503 && Reader.ReadUInt8() != 0)
					{
						Reader.Skip(16); // property GUID
					}
					if (UE5 >= 1011 && (Reader.ReadUInt8() & 0x02))
					{
						Reader.Skip(1); // overridable operation
					}
				}
				if (Size < 0)
				{
					Reader.Fail(TEXT("damaged: a property tag has a negative size"));
					return;
				}
				Reader.Skip(Size);
			}
		}

		struct FPendingMetaData
		{
			int32 Key;
			FName Id;
			std::u16string Value;
		};

		// Reads the table that follows the object's own data into a staging copy.
		bool ReadTable(FPackageReader& Reader, const FPackageSummary& Summary, FNameTable& Names, FStringTableAccess::FStorage& OutStaging, FString& OutNamespace)
		{
			Reader.SetContext(TEXT("the StringTable export"));
			if (Summary.FileVersionUE5 >= 1011 && (Reader.ReadUInt8() & 0x02))
			{
				Reader.Skip(1);
			}
			SkipPropertyTags(Reader, Summary, Names);
			Reader.SetContext(TEXT("the StringTable export"));
			if (Reader.ReadBool())
			{
				Reader.Skip(16); // the object's GUID
			}
			std::u16string Namespace;
			Reader.ReadString(Namespace);

			// Keys are only looked at until they are interned: they share one buffer.
			std::u16string KeyChars;
			std::vector<std::pair<size_t, size_t>> KeySpans;
			const auto ReadKey = [&Reader, &KeyChars, &KeySpans]()
			{
				const size_t Start = KeyChars.size();
				Reader.AppendString(KeyChars);
				KeySpans.emplace_back(Start, KeyChars.size() - Start);
			};
			const int32 EntryCount = Reader.ReadCount(8);
			KeySpans.reserve(static_cast<size_t>(EntryCount));
			std::vector<std::u16string> Sources(static_cast<size_t>(EntryCount));
			for (int32 Index = 0; Index < EntryCount && !Reader.IsError(); ++Index)
			{
				ReadKey();
				Reader.ReadString(Sources[static_cast<size_t>(Index)]);
			}

			// Metadata keys are looked up among the entry keys once all of them are interned.
			const int32 MetaDataKeyCount = Reader.ReadCount(8);
			std::vector<FPendingMetaData> MetaData;
			for (int32 KeyIndex = 0; KeyIndex < MetaDataKeyCount && !Reader.IsError(); ++KeyIndex)
			{
				const int32 Key = static_cast<int32>(KeySpans.size());
				ReadKey();
				const int32 Count = Reader.ReadCount(12);
				for (int32 Index = 0; Index < Count && !Reader.IsError(); ++Index)
				{
					FPendingMetaData& Row = MetaData.emplace_back();
					Row.Key = Key;
					Row.Id = Names.ReadFName(Reader);
					Reader.ReadString(Row.Value);
				}
			}
			if (Reader.IsError())
			{
				return false;
			}

			std::vector<FStringView> KeyViews;
			KeyViews.reserve(KeySpans.size());
			for (const auto& [Start, Length] : KeySpans)
			{
				KeyViews.emplace_back(KeyChars.data() + Start, static_cast<int32>(Length));
			}
			std::vector<FTextKey> TextKeys(KeyViews.size());
			ReserveTextKeys(static_cast<int32>(KeyViews.size()));
			InternTextKeys(KeyViews.data(), static_cast<int32>(KeyViews.size()), TextKeys.data());

			OutStaging.Reserve(EntryCount);
			for (int32 Index = 0; Index < EntryCount; ++Index)
			{
				OutStaging.Prefetch(TextKeys[static_cast<size_t>(Index)]);
			}
			for (int32 Index = 0; Index < EntryCount; ++Index)
			{
				OutStaging.Set(TextKeys[static_cast<size_t>(Index)], FString(std::move(Sources[static_cast<size_t>(Index)])));
			}
			for (FPendingMetaData& Row : MetaData)
			{
				OutStaging.SetMetaData(TextKeys[static_cast<size_t>(Row.Key)], Row.Id, FString(std::move(Row.Value)));
			}
			OutNamespace = FString(std::move(Namespace));
			return true;
		}

		bool LoadFromReader(FPackageReader& Reader, FStringView ObjectName, FStringTable& OutTable, FString& OutError)
		{
			FPackageSummary Summary;
			ReadSummary(Reader, Summary);
			// A whole package ends with the package tag (after its bulk data or trailer): a file
			// cut anywhere is refused, even after the export.
			Reader.Seek(std::max<int64>(Reader.TotalSize() - 4, 0), TEXT("the closing package tag"));
			Reader.SetContext(TEXT("the closing package tag"));
			if (Reader.ReadUInt32() != PackageTag && !Reader.IsError())
			{
				Reader.Fail(TEXT("truncated: the file does not end with the package tag"));
			}
			if (Summary.PayloadTocOffset >= 0)
			{
				Reader.Seek(Summary.PayloadTocOffset, TEXT("the package trailer"));
				Reader.SetContext(TEXT("the package trailer"));
				if (static_cast<uint64>(Reader.ReadInt64()) != PackageTrailerTag && !Reader.IsError())
				{
					Reader.Fail(TEXT("damaged: the package trailer is not where the summary says"));
				}
			}
			FNameTable Names;
			Names.Read(Reader, Summary);
			std::vector<FImportEntry> Imports;
			ReadImports(Reader, Summary, Names, Imports);
			std::vector<FExportEntry> Exports;
			ReadExports(Reader, Summary, Names, Exports);
			if (Reader.IsError())
			{
				OutError = Reader.GetError();
				return false;
			}

			// Selected by class: the package may hold other exports (PackageMetaData up to 5.5),
			// and a name table that merely mentions StringTable proves nothing.
			const int32 ClassIndex = FindStringTableClassImport(Imports);
			const std::u16string_view WantedName(ObjectName.GetData(), static_cast<size_t>(ObjectName.Len()));
			const FExportEntry* Found = nullptr;
			for (const FExportEntry& Export : Exports)
			{
				if (ClassIndex != 0 && Export.ClassIndex == ClassIndex && Export.OuterIndex == 0 && Export.bIsAsset && (WantedName.empty() || NamesEqual(Export.ObjectName, WantedName)))
				{
					Found = &Export;
					break;
				}
			}
			if (!Found)
			{
				OutError = WantedName.empty() ? FString(TEXT("the package holds no StringTable export"))
											  : FString::Printf(TEXT("the package holds no StringTable export named '%s'"), *FString(ObjectName));
				return false;
			}
			if (Found->SerialOffset < 0 || Found->SerialSize < 0 || Found->SerialOffset > Reader.TotalSize() || Found->SerialSize > Reader.TotalSize() - Found->SerialOffset)
			{
				OutError = FString::Printf(TEXT("the StringTable export (%lld bytes at offset %lld) lies beyond the file's %lld bytes: truncated, or split into a .uexp file"),
					static_cast<long long>(Found->SerialSize), static_cast<long long>(Found->SerialOffset), static_cast<long long>(Reader.TotalSize()));
				return false;
			}

			const int64 End = Found->SerialOffset + Found->SerialSize;
			Reader.Seek(Found->SerialOffset, TEXT("the StringTable export"));
			Reader.SetLimit(End);
			FStringTableAccess::FStorage Staging;
			FString Namespace;
			if (!ReadTable(Reader, Summary, Names, Staging, Namespace))
			{
				OutError = Reader.GetError();
				return false;
			}
			if (Reader.Tell() != End)
			{
				OutError = FString::Printf(TEXT("damaged: the StringTable export reads %lld of its recorded %lld bytes"),
					static_cast<long long>(Reader.Tell() - Found->SerialOffset), static_cast<long long>(Found->SerialSize));
				return false;
			}
			// Read whole: only now does the caller's table change.
			FStringTableAccess::Replace(OutTable, MoveTemp(Staging));
			OutTable.SetNamespace(Namespace);
			return true;
		}
	}

	bool LoadStringTable(std::string_view Bytes, FStringView ObjectName, FStringTable& OutTable, FString& OutError)
	{
		FPackageReader Reader(Bytes);
		return LoadFromReader(Reader, ObjectName, OutTable, OutError);
	}

	bool LoadStringTableFile(const FString& Filename, FStringView ObjectName, FStringTable& OutTable, FString& OutError)
	{
		// A StringTable package is small: one read of the whole file is cheaper than many windows.
		FPackageReader Reader(Filename);
		Reader.ReadWholeFile();
		return LoadFromReader(Reader, ObjectName, OutTable, OutError);
	}
}
