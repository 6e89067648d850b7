# Stand-in decoder library variants for the tests of the library record, the
# entry-point tables, the loader and the start-up. Each lands in its own
# directory under OKALU_STANDIN_ROOT; "default" (8.4.0, minimum client 8.4.0)
# comes with the stand-in itself.
set(standin_root ${OKALU_STANDIN_ROOT})

# A variant per version: <kind> "version" sets the library's own version,
# "minimum" the oldest client it accepts.
foreach(kind_and_version version:8.2.9 version:8.3.0 version:8.4.1 version:9.0.0
                         minimum:8.4.1 minimum:8.5.0)
    string(REPLACE ":" ";" kind_and_version ${kind_and_version})
    list(GET kind_and_version 0 kind)
    list(GET kind_and_version 1 version)
    string(REPLACE "." ";" parts ${version})
    list(GET parts 0 major)
    list(GET parts 1 minor)
    list(GET parts 2 patch)
    set(prefix OKALU_STANDIN)
    if(kind STREQUAL "minimum")
        set(prefix OKALU_STANDIN_MINIMUM)
    endif()
    string(REPLACE "." "_" tag ${version})
    okalu_add_standin_variant(r3dsdk_standin_${kind}_${tag} ${standin_root}/${kind}-${version}
        ${prefix}_MAJOR=${major} ${prefix}_MINOR=${minor} ${prefix}_PATCH=${patch})
endforeach()

okalu_add_standin_variant(r3dsdk_standin_wrong_id ${standin_root}/wrong-id
    OKALU_STANDIN_LIB_ID=0x52334499u)
okalu_add_standin_variant(r3dsdk_standin_no_finalize ${standin_root}/no-finalize
    OKALU_STANDIN_OMIT_FINALIZE)
okalu_add_standin_variant(r3dsdk_standin_no_clip_entry ${standin_root}/no-clip-entry
    OKALU_STANDIN_OMIT_CLIP_ENTRY)
okalu_add_standin_variant(r3dsdk_standin_phase0_3 ${standin_root}/phase0-3
    OKALU_STANDIN_PHASE0_RESULT=3)
okalu_add_standin_variant(r3dsdk_standin_phase0_14 ${standin_root}/phase0-14
    OKALU_STANDIN_PHASE0_RESULT=14)
okalu_add_standin_variant(r3dsdk_standin_verbose_log ${standin_root}/verbose-log
    OKALU_STANDIN_VERBOSE_LOG)
okalu_add_standin_variant(r3dsdk_standin_long_build_name ${standin_root}/long-build-name
    OKALU_STANDIN_LONG_BUILD_NAME)
okalu_add_standin_variant(r3dsdk_standin_null_build_names ${standin_root}/null-build-names
    OKALU_STANDIN_NULL_BUILD_NAMES)
okalu_add_standin_variant(r3dsdk_standin_accelerators ${standin_root}/accelerators
    ACCELERATOR_ENTRIES)
okalu_add_standin_variant(r3dsdk_standin_redirect ${standin_root}/redirect
    OKALU_STANDIN_REDIRECT="${standin_root}/version-8.4.1")

# A decoder library naming one companion of each kind, all in its directory.
set(imports_dir ${standin_root}/imports)
okalu_add_standin_variant(r3dsdk_standin_imports ${imports_dir}
    OKALU_STANDIN_IMPORTS="REDR3DCore.dylib:52334420:0,REDCuda.dylib:52334421:1,REDCL.dylib:52334422:2,R3DDecoder.dylib:52334424:4,REDMetal.dylib:52334428:8")
foreach(companion "REDR3DCore;52334420" "REDCuda;52334421" "REDCL;52334422"
                  "R3DDecoder;52334424" "REDMetal;52334428")
    list(GET companion 0 name)
    list(GET companion 1 id)
    okalu_add_standin_variant(r3dsdk_standin_imports_${name} ${imports_dir}
        FILE_NAME ${name}.dylib ACCELERATOR_ENTRIES OKALU_STANDIN_LIB_ID=0x${id}u)
endforeach()
