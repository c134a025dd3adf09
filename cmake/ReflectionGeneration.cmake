# The header tool as a build step. orvex_generate_reflection(Target INCLUDE_ROOT dir HEADERS
# Module:path...) has the header tool read each header's UCLASS/USTRUCT/UENUM/UPROPERTY
# declarations and write, into the build tree, <Name>.generated.h (found through the target's
# include path) and <Target>.gen.cpp, which registers the types of all the headers and is compiled
# into the target. Files whose text is unchanged are not rewritten, so an unchanged header
# rebuilds nothing. <Target>Reflection names the step for builds that include the headers without
# linking the target.

file(GLOB ORVEX_HEADER_TOOL_GENERATOR_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/Host/HeaderTool/Generator/*.cpp)
add_library(OrvexHeaderToolGenerator STATIC ${ORVEX_HEADER_TOOL_GENERATOR_SOURCES})
target_include_directories(OrvexHeaderToolGenerator PUBLIC ${PROJECT_SOURCE_DIR}/Host/HeaderTool/Generator)
target_link_libraries(OrvexHeaderToolGenerator PUBLIC OrvexHeaderTool)
target_compile_options(OrvexHeaderToolGenerator PRIVATE ${ORVEX_WARNINGS})

add_executable(OrvexHeaderToolProgram ${PROJECT_SOURCE_DIR}/Host/HeaderTool/Program/HeaderToolMain.cpp)
target_include_directories(OrvexHeaderToolProgram SYSTEM PRIVATE ${CLI11_INCLUDE_DIR})
target_link_libraries(OrvexHeaderToolProgram PRIVATE OrvexHeaderToolGenerator)
target_compile_options(OrvexHeaderToolProgram PRIVATE ${ORVEX_WARNINGS})

function(orvex_generate_reflection Target)
	cmake_parse_arguments(PARSE_ARGV 1 ARG "REGISTER_AT_STARTUP" "INCLUDE_ROOT" "HEADERS")
	set(OutputDir ${CMAKE_BINARY_DIR}/Generated/${Target})
	set(Source ${OutputDir}/Src/${Target}.gen.cpp)
	set(Outputs ${Source})
	set(Headers)
	foreach(Entry IN LISTS ARG_HEADERS)
		string(FIND "${Entry}" ":" Colon)
		math(EXPR PathStart "${Colon} + 1")
		string(SUBSTRING "${Entry}" ${PathStart} -1 Header)
		get_filename_component(BaseName ${Header} NAME_WLE)
		list(APPEND Outputs ${OutputDir}/Inc/${BaseName}.generated.h)
		list(APPEND Headers ${PROJECT_SOURCE_DIR}/${Header})
	endforeach()
	set(RegisterFlag)
	if(ARG_REGISTER_AT_STARTUP)
		set(RegisterFlag --register-at-startup)
	endif()
	add_custom_command(
		OUTPUT ${Outputs}
		COMMAND OrvexHeaderToolProgram --output ${OutputDir} --source-name ${Target} --source-root ${PROJECT_SOURCE_DIR}
			--include-root ${PROJECT_SOURCE_DIR}/${ARG_INCLUDE_ROOT} ${RegisterFlag} ${ARG_HEADERS}
		DEPENDS OrvexHeaderToolProgram ${Headers}
		WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
		COMMENT "Generating the reflection of ${Target}"
		VERBATIM)
	add_custom_target(${Target}Reflection DEPENDS ${Outputs})
	target_sources(${Target} PRIVATE ${Source})
	target_include_directories(${Target} PUBLIC ${OutputDir}/Inc PRIVATE ${PROJECT_SOURCE_DIR}/${ARG_INCLUDE_ROOT})
endfunction()
