#include "PackageWriter.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace OrvexTestPackages
{
	namespace
	{
		struct FVersionInfo
		{
			EEditorVersion Version;
			const char* Name;
			int32_t Legacy;
			int32_t UE5;
			uint16_t Major;
			uint16_t Minor;
			uint32_t Changelist;
		};

		constexpr int32_t UE4 = 522;

		const FVersionInfo Versions[] = {
			{EEditorVersion::UE4_27, "4.27", -7, 0, 4, 27, 18319896},
			{EEditorVersion::UE5_0, "5.0", -8, 1004, 5, 0, 20979098},
			{EEditorVersion::UE5_1, "5.1", -8, 1008, 5, 1, 23901901},
			{EEditorVersion::UE5_3, "5.3", -8, 1009, 5, 3, 29314046},
			{EEditorVersion::UE5_4, "5.4", -8, 1012, 5, 4, 33043543},
			{EEditorVersion::UE5_5, "5.5", -8, 1013, 5, 5, 37670630},
			{EEditorVersion::UE5_6, "5.6", -9, 1017, 5, 6, 43139311},
			{EEditorVersion::UE5_7, "5.7", -9, 1018, 5, 7, 47537391},
		};

		const FVersionInfo& Info(EEditorVersion Version)
		{
			return *std::find_if(std::begin(Versions), std::end(Versions), [Version](const FVersionInfo& Entry) { return Entry.Version == Version; });
		}

		class FBytes
		{
		public:
			std::string Data;
			bool bLatin1UpTo0xFF = false;

			size_t Tell() const { return Data.size(); }
			void U8(uint8_t Value) { Data.push_back(static_cast<char>(Value)); }
			void U16(uint16_t Value)
			{
				U8(static_cast<uint8_t>(Value));
				U8(static_cast<uint8_t>(Value >> 8));
			}
			void U32(uint32_t Value)
			{
				for (int Shift = 0; Shift < 32; Shift += 8)
				{
					U8(static_cast<uint8_t>(Value >> Shift));
				}
			}
			void I32(int32_t Value) { U32(static_cast<uint32_t>(Value)); }
			void I64(int64_t Value)
			{
				U32(static_cast<uint32_t>(static_cast<uint64_t>(Value)));
				U32(static_cast<uint32_t>(static_cast<uint64_t>(Value) >> 32));
			}
			void Bool(bool Value) { I32(Value ? 1 : 0); }
			void Guid(uint32_t Seed)
			{
				for (uint32_t Part = 0; Part < 4; ++Part)
				{
					U32(Seed * 2654435761u + Part * 40503u);
				}
			}
			// Single bytes when every character allows it, else UTF-16; both with a terminating 0.
			void Str(const std::u16string& Text)
			{
				if (Text.empty())
				{
					I32(0);
					return;
				}
				const char16_t Highest = *std::max_element(Text.begin(), Text.end());
				if (Highest < 0x80 || (bLatin1UpTo0xFF && Highest <= 0xFF))
				{
					I32(static_cast<int32_t>(Text.size() + 1));
					for (char16_t Char : Text)
					{
						U8(static_cast<uint8_t>(Char));
					}
					U8(0);
					return;
				}
				I32(-static_cast<int32_t>(Text.size() + 1));
				for (char16_t Char : Text)
				{
					U16(Char);
				}
				U16(0);
			}
			void Str(const std::string& Ascii) { Str(std::u16string(Ascii.begin(), Ascii.end())); }
			void Append(const std::string& Bytes) { Data += Bytes; }

			// Writes a placeholder now and its value once known.
			size_t Reserve32()
			{
				I32(0);
				return Data.size() - 4;
			}
			size_t Reserve64()
			{
				I64(0);
				return Data.size() - 8;
			}
			void Patch32(size_t At, int64_t Value)
			{
				for (int Byte = 0; Byte < 4; ++Byte)
				{
					Data[At + Byte] = static_cast<char>(static_cast<uint64_t>(Value) >> (8 * Byte));
				}
			}
			void Patch64(size_t At, int64_t Value)
			{
				for (int Byte = 0; Byte < 8; ++Byte)
				{
					Data[At + Byte] = static_cast<char>(static_cast<uint64_t>(Value) >> (8 * Byte));
				}
			}
		};

		struct FImport
		{
			std::u16string ClassPackage;
			std::u16string ClassName;
			int32_t Outer;
			std::u16string ObjectName;
		};

		struct FExport
		{
			int32_t ClassIndex;
			int32_t TemplateIndex;
			std::u16string ObjectName;
			uint32_t ObjectFlags;
			bool bIsAsset;
			std::string Data;
			int64_t SizeDelta = 0;
		};

		struct FRegistryObject
		{
			std::u16string Path;
			std::u16string Class;
			std::vector<std::pair<std::string, std::string>> Tags;
		};

		// One package under construction: names, imports and exports, then the layout.
		class FPackageBuilder
		{
		public:
			explicit FPackageBuilder(const FPackageOptions& InOptions)
				: Options(InOptions)
				, Version(Info(InOptions.Version))
				, UE5(InOptions.FileVersionUE5Override >= 0 ? InOptions.FileVersionUE5Override : Info(InOptions.Version).UE5)
			{
				AssetName = U16(Options.PackageName.substr(Options.PackageName.rfind('/') + 1));
				Name(u"None");
			}

			int32_t Name(const std::u16string& Text)
			{
				const auto Found = NameIndex.find(Text);
				if (Found != NameIndex.end())
				{
					return Found->second;
				}
				Names.push_back(Text);
				return NameIndex[Text] = static_cast<int32_t>(Names.size() - 1);
			}

			void NameRef(FBytes& Out, const std::u16string& Text, int32_t Number = 0)
			{
				Out.I32(Name(Text));
				Out.I32(Number);
			}

			// Returns the package index of the new import.
			int32_t Import(const std::u16string& ClassPackage, const std::u16string& ClassName, int32_t Outer, const std::u16string& ObjectName)
			{
				Imports.push_back({ClassPackage, ClassName, Outer, ObjectName});
				Name(ClassPackage);
				Name(ClassName);
				Name(ObjectName);
				return -static_cast<int32_t>(Imports.size());
			}

			// The class import of a script class, with its package and default object.
			void ClassImports(const std::u16string& Module, const std::u16string& Class, int32_t& OutClass, int32_t& OutTemplate)
			{
				const int32_t Package = Import(u"/Script/CoreUObject", u"Package", 0, Module);
				OutClass = Import(u"/Script/CoreUObject", u"Class", Package, Class);
				OutTemplate = Import(Module, Class, Package, u"Default__" + Class);
			}

			// What an object's serialized data starts with: the control byte (5.3+), tagged
			// properties ended by None, and the GUID flag.
			FBytes ObjectStart(bool bPropertyTag, bool bObjectGuid)
			{
				FBytes Out;
				Out.bLatin1UpTo0xFF = Options.bLatin1UpTo0xFF;
				if (UE5 >= 1011)
				{
					Out.U8(0);
				}
				if (bPropertyTag)
				{
					NameRef(Out, u"Revision");
					if (UE5 >= 1012)
					{
						NameRef(Out, u"IntProperty");
						Out.I32(0);
						Out.I32(4);
						Out.U8(0x01); // an array index follows
						Out.I32(0);
					}
					else
					{
						NameRef(Out, u"IntProperty");
						Out.I32(4);
						Out.I32(0);
						Out.U8(1); // a property GUID follows
						Out.Guid(99);
						if (UE5 >= 1011)
						{
							Out.U8(0);
						}
					}
					Out.I32(7);
				}
				NameRef(Out, u"None");
				Out.Bool(bObjectGuid);
				if (bObjectGuid)
				{
					Out.Guid(7);
				}
				return Out;
			}

			void AddMetaDataExportIfSaved()
			{
				const bool bWanted = Options.MetaDataExport < 0 ? HasMetaDataExport(Options.Version) : Options.MetaDataExport != 0;
				if (!bWanted)
				{
					return;
				}
				const int32_t Package = Import(u"/Script/CoreUObject", u"Package", 0, u"/Script/CoreUObject");
				const int32_t Class = Import(u"/Script/CoreUObject", u"Class", Package, u"MetaData");
				const int32_t Template = Import(u"/Script/CoreUObject", u"MetaData", Package, u"Default__MetaData");
				FBytes Data = ObjectStart(false, false);
				Data.I32(0); // object metadata
				Data.I32(0); // root metadata
				Exports.push_back({Class, Template, u"PackageMetaData", 0x00000003, false, Data.Data});
			}

			std::string Build()
			{
				const bool bUE5Number = LegacyVersion() <= -8;
				FBytes Out;
				Out.bLatin1UpTo0xFF = Options.bLatin1UpTo0xFF;
				// Every name the tables and the registry block use must be in the name table before
				// it is written.
				for (const FExport& Export : Exports)
				{
					Name(Export.ObjectName);
				}

				Out.U32(0x9E2A83C1u);
				Out.I32(LegacyVersion());
				Out.I32(864); // LegacyUE3Version
				Out.I32(Options.bUnversioned ? 0 : UE4);
				if (bUE5Number)
				{
					Out.I32(Options.bUnversioned ? 0 : UE5);
				}
				Out.I32(0); // licensee
				size_t TotalHeaderSize = 0;
				if (UE5 >= 1016)
				{
					for (int Byte = 0; Byte < 20; ++Byte)
					{
						Out.U8(static_cast<uint8_t>(0xA0 + Byte));
					}
					TotalHeaderSize = Out.Reserve32();
				}
				// A few custom versions, as every package carries.
				Out.I32(3);
				for (uint32_t Index = 0; Index < 3; ++Index)
				{
					Out.Guid(1000 + Index);
					Out.I32(static_cast<int32_t>(40 + Index));
				}
				if (UE5 < 1016)
				{
					TotalHeaderSize = Out.Reserve32();
				}
				Out.Str(UE5 < 1008 ? std::string("None") : Options.PackageName);
				Out.U32(Options.ExtraPackageFlags);
				Out.I32(static_cast<int32_t>(Names.size()));
				const size_t NameOffset = Out.Reserve32();
				if (UE5 >= 1008)
				{
					Out.I32(0);
					Out.I32(0);
				}
				Out.Str(std::string("5E2C1B9A44D7F0A3B6C8D1E2F3A4B5C6")); // LocalizationId
				Out.I32(0); // gatherable text
				Out.I32(0);
				Out.I32(static_cast<int32_t>(Exports.size()));
				const size_t ExportOffset = Out.Reserve32();
				Out.I32(static_cast<int32_t>(Imports.size()));
				const size_t ImportOffset = Out.Reserve32();
				if (UE5 >= 1015)
				{
					for (int Index = 0; Index < 4; ++Index)
					{
						Out.I32(0);
					}
				}
				if (UE5 >= 1014)
				{
					Out.I32(0); // MetaDataOffset
				}
				const size_t DependsOffset = Out.Reserve32();
				Out.I32(0); // soft package references
				Out.I32(0);
				Out.I32(0); // searchable names
				Out.I32(0); // thumbnails
				if (UE5 >= 1018)
				{
					Out.I32(0);
					Out.I32(0);
				}
				if (UE5 < 1016)
				{
					Out.Guid(11);
				}
				Out.Guid(12); // PersistentGuid
				Out.I32(1); // generations
				Out.I32(static_cast<int32_t>(Exports.size()));
				Out.I32(static_cast<int32_t>(Names.size()));
				for (int Pass = 0; Pass < 2; ++Pass)
				{
					Out.U16(Version.Major);
					Out.U16(Version.Minor);
					Out.U16(Pass == 0 ? 2 : 0);
					Out.U32(Version.Changelist);
					Out.Str(std::string(Version.Major == 4 ? "++UE4+Release-" : "++UE5+Release-") + Version.Name);
				}
				Out.U32(0); // compression flags
				Out.I32(Options.CompressedChunkCount);
				Out.U32(0x1D2C3B4Au); // package source
				Out.I32(0); // additional packages to cook
				const size_t AssetRegistryOffset = Out.Reserve32();
				const size_t BulkDataStart = Out.Reserve64();
				Out.I32(0); // world tile info
				Out.I32(0); // chunk ids
				Out.I32(0); // preload dependencies
				const size_t PreloadOffset = Out.Reserve32();
				if (UE5 >= 1001)
				{
					Out.I32(static_cast<int32_t>(Names.size()));
				}
				size_t PayloadToc = 0;
				if (UE5 >= 1002)
				{
					PayloadToc = Out.Reserve64();
				}
				if (UE5 >= 1009)
				{
					Out.I32(-1); // data resources
				}

				Out.Patch32(NameOffset, static_cast<int64_t>(Out.Tell()));
				for (size_t Index = 0; Index < Names.size(); ++Index)
				{
					Out.Str(Names[Index]);
					Out.U16(static_cast<uint16_t>(0x5A5A + Index));
					Out.U16(static_cast<uint16_t>(0xA5A5 - Index));
				}

				Out.Patch32(ImportOffset, static_cast<int64_t>(Out.Tell()));
				for (const FImport& Import : Imports)
				{
					NameRef(Out, Import.ClassPackage);
					NameRef(Out, Import.ClassName);
					Out.I32(Import.Outer);
					NameRef(Out, Import.ObjectName);
					NameRef(Out, u"None"); // package name
					if (UE5 >= 1003)
					{
						Out.Bool(false);
					}
				}

				Out.Patch32(ExportOffset, static_cast<int64_t>(Out.Tell()));
				std::vector<std::pair<size_t, size_t>> SerialFields;
				for (const FExport& Export : Exports)
				{
					Out.I32(Export.ClassIndex);
					Out.I32(0); // super
					Out.I32(Export.TemplateIndex);
					Out.I32(0); // outer: the package
					NameRef(Out, Export.ObjectName);
					Out.U32(Export.ObjectFlags);
					const size_t Size = Out.Reserve64();
					const size_t Offset = Out.Reserve64();
					SerialFields.emplace_back(Size, Offset);
					Out.Bool(false);
					Out.Bool(false);
					Out.Bool(false);
					if (UE5 < 1005)
					{
						Out.Guid(21);
					}
					if (UE5 >= 1006)
					{
						Out.Bool(false);
					}
					Out.U32(0);
					Out.Bool(false);
					Out.Bool(Export.bIsAsset);
					if (UE5 >= 1003)
					{
						Out.Bool(Export.bIsAsset);
					}
					Out.I32(-1);
					for (int Index = 0; Index < 4; ++Index)
					{
						Out.I32(0);
					}
					if (UE5 >= 1010)
					{
						Out.I64(0);
						Out.I64(static_cast<int64_t>(Export.Data.size()));
					}
				}

				Out.Patch32(DependsOffset, static_cast<int64_t>(Out.Tell()));
				for (size_t Index = 0; Index < Exports.size(); ++Index)
				{
					Out.I32(0);
				}

				Out.Patch32(AssetRegistryOffset, static_cast<int64_t>(Out.Tell()));
				const size_t DependencyData = Out.Reserve64();
				Out.I32(static_cast<int32_t>(Registry.size()));
				for (const FRegistryObject& Object : Registry)
				{
					Out.Str(Object.Path);
					Out.Str(Object.Class);
					Out.I32(static_cast<int32_t>(Object.Tags.size()));
					for (const auto& [Key, Value] : Object.Tags)
					{
						Out.Str(Key);
						Out.Str(Value);
					}
				}
				Out.Patch64(DependencyData, static_cast<int64_t>(Out.Tell()));
				Out.I32(0); // import usage bits
				Out.I32(0); // soft package usage bits
				Out.Patch32(PreloadOffset, static_cast<int64_t>(Out.Tell()));
				Out.Patch32(TotalHeaderSize, static_cast<int64_t>(Out.Tell()));

				for (size_t Index = 0; Index < Exports.size(); ++Index)
				{
					Out.Patch64(SerialFields[Index].second, static_cast<int64_t>(Out.Tell()));
					Out.Patch64(SerialFields[Index].first, static_cast<int64_t>(Exports[Index].Data.size()) + Exports[Index].SizeDelta);
					Out.Append(Exports[Index].Data);
				}
				Out.Patch64(BulkDataStart, static_cast<int64_t>(Out.Tell()));
				Out.U32(0x9E2A83C1u);
				if (PayloadToc != 0)
				{
					// From 5.1 on an empty package trailer follows; 5.0 records none.
					if (UE5 >= 1008)
					{
						Out.Patch64(PayloadToc, static_cast<int64_t>(Out.Tell()));
						Out.I64(static_cast<int64_t>(0xD1C43B2E80A5F697ull));
						Out.I32(1); // version
						Out.I32(28); // header length
						Out.I64(0); // payload data length
						Out.I32(0); // payloads
						Out.I64(static_cast<int64_t>(0x29BFCA045138DE76ull));
						Out.I64(48); // trailer length
						Out.U32(0x9E2A83C1u);
					}
					else
					{
						Out.Patch64(PayloadToc, -1);
					}
				}
				return Out.Data;
			}

			int32_t LegacyVersion() const { return Options.LegacyFileVersionOverride != 0 ? Options.LegacyFileVersionOverride : Version.Legacy; }
			// 5.1 and later name classes by their full path; 5.0 and 4.x by the short name.
			std::u16string RegistryClass(const std::u16string& Module, const std::u16string& Class) const
			{
				return UE5 >= 1008 ? Module + u"." + Class : Class;
			}

			const FPackageOptions& Options;
			const FVersionInfo& Version;
			const int32_t UE5;
			std::u16string AssetName;
			std::vector<std::u16string> Names;
			std::map<std::u16string, int32_t> NameIndex;
			std::vector<FImport> Imports;
			std::vector<FExport> Exports;
			std::vector<FRegistryObject> Registry;
		};
	}

	const std::vector<EEditorVersion>& AllEditorVersions()
	{
		static const std::vector<EEditorVersion> All = {EEditorVersion::UE4_27, EEditorVersion::UE5_0, EEditorVersion::UE5_1, EEditorVersion::UE5_3,
			EEditorVersion::UE5_4, EEditorVersion::UE5_5, EEditorVersion::UE5_6, EEditorVersion::UE5_7};
		return All;
	}

	const char* GetVersionName(EEditorVersion Version)
	{
		return Info(Version).Name;
	}

	bool HasMetaDataExport(EEditorVersion Version)
	{
		return Info(Version).UE5 >= 1000 && Info(Version).UE5 < 1014;
	}

	std::string WriteStringTablePackage(const FTableContent& Table, const FPackageOptions& Options)
	{
		FPackageBuilder Builder(Options);
		// The metadata export comes first, as the editor saves it: the table is not export 0.
		Builder.AddMetaDataExportIfSaved();
		int32_t Class = 0;
		int32_t Template = 0;
		Builder.ClassImports(u"/Script/Engine", u"StringTable", Class, Template);

		FBytes Data = Builder.ObjectStart(Options.bPropertyTag, Options.bObjectGuid);
		Data.Str(Table.Namespace);
		Data.I32(static_cast<int32_t>(Table.Entries.size()));
		for (const FTableEntry& Entry : Table.Entries)
		{
			Data.Str(Entry.Key);
			Data.Str(Entry.Source);
		}
		int32_t KeysWithMetaData = 0;
		for (const FTableEntry& Entry : Table.Entries)
		{
			KeysWithMetaData += Entry.MetaData.empty() ? 0 : 1;
		}
		Data.I32(KeysWithMetaData);
		for (const FTableEntry& Entry : Table.Entries)
		{
			if (Entry.MetaData.empty())
			{
				continue;
			}
			Data.Str(Entry.Key);
			Data.I32(static_cast<int32_t>(Entry.MetaData.size()));
			for (const FMetaDataRow& Row : Entry.MetaData)
			{
				Builder.NameRef(Data, Row.Id, Row.Number);
				Data.Str(Row.Value);
			}
		}
		FExport Export{Class, Template, Builder.AssetName, 0x00000009, true, Data.Data};
		Export.SizeDelta = Options.SerialSizeDelta;
		Builder.Exports.push_back(Export);
		Builder.Registry.push_back({Builder.AssetName, Builder.RegistryClass(u"/Script/Engine", u"StringTable"), {}});
		return Builder.Build();
	}

	std::string WriteRedirectorPackage(const std::string& Destination, const FPackageOptions& Options)
	{
		FPackageBuilder Builder(Options);
		Builder.AddMetaDataExportIfSaved();
		int32_t Class = 0;
		int32_t Template = 0;
		Builder.ClassImports(u"/Script/CoreUObject", u"ObjectRedirector", Class, Template);
		const std::string DestinationPackage = Destination.substr(0, Destination.find('.'));
		const std::string DestinationName = Destination.substr(Destination.find('.') + 1);
		int32_t StringTableClass = 0;
		int32_t StringTableTemplate = 0;
		Builder.ClassImports(u"/Script/Engine", u"StringTable", StringTableClass, StringTableTemplate);
		const int32_t TargetPackage = Builder.Import(u"/Script/CoreUObject", u"Package", 0, U16(DestinationPackage));
		const int32_t Target = Builder.Import(u"/Script/Engine", u"StringTable", TargetPackage, U16(DestinationName));

		FBytes Data = Builder.ObjectStart(false, false);
		Data.I32(Target);
		Builder.Exports.push_back({Class, Template, Builder.AssetName, 0x00000003, true, Data.Data});
		Builder.Registry.push_back({Builder.AssetName, Builder.RegistryClass(u"/Script/CoreUObject", u"ObjectRedirector"),
			{{"DestinationObject", "StringTable'" + Destination + "'"}}});
		return Builder.Build();
	}

	std::string WriteOtherAssetPackage(const std::string& ClassPath, const std::vector<std::pair<std::string, std::string>>& Tags, const FPackageOptions& Options)
	{
		FPackageBuilder Builder(Options);
		Builder.AddMetaDataExportIfSaved();
		const std::u16string Module = U16(ClassPath.substr(0, ClassPath.find('.')));
		const std::u16string ClassName = U16(ClassPath.substr(ClassPath.find('.') + 1));
		int32_t Class = 0;
		int32_t Template = 0;
		Builder.ClassImports(Module, ClassName, Class, Template);
		FBytes Data = Builder.ObjectStart(true, true);
		Data.Append(std::string(64, '\x5C'));
		Builder.Exports.push_back({Class, Template, Builder.AssetName, 0x00000009, true, Data.Data});
		Builder.Registry.push_back({Builder.AssetName, Builder.RegistryClass(Module, ClassName), Tags});
		return Builder.Build();
	}

	std::string SwapPackageTag(std::string Bytes)
	{
		std::reverse(Bytes.begin(), Bytes.begin() + 4);
		return Bytes;
	}

	std::string LargeFilePointer(const std::string& Bytes)
	{
		return "version https://git-lfs.github.com/spec/v1\noid sha256:4d7a214614ab2935c943f9e0ff69d22eadbb8f32b1258daaa5e2ca24d17e2393\nsize "
			+ std::to_string(Bytes.size()) + "\n";
	}

	std::u16string U16(const std::string& Utf8)
	{
		std::u16string Out;
		for (size_t Index = 0; Index < Utf8.size();)
		{
			const uint8_t Lead = static_cast<uint8_t>(Utf8[Index]);
			const int Length = Lead < 0x80 ? 1 : Lead < 0xE0 ? 2 : Lead < 0xF0 ? 3 : 4;
			uint32_t CodePoint = Length == 1 ? Lead : Lead & (0x3F >> (Length - 1));
			for (int Next = 1; Next < Length; ++Next)
			{
				CodePoint = (CodePoint << 6) | (static_cast<uint8_t>(Utf8[Index + Next]) & 0x3F);
			}
			Index += static_cast<size_t>(Length);
			if (CodePoint >= 0x10000)
			{
				CodePoint -= 0x10000;
				Out.push_back(static_cast<char16_t>(0xD800 + (CodePoint >> 10)));
				Out.push_back(static_cast<char16_t>(0xDC00 + (CodePoint & 0x3FF)));
			}
			else
			{
				Out.push_back(static_cast<char16_t>(CodePoint));
			}
		}
		return Out;
	}
}
