# Stand-in variants for the tests of the SDK start-up and the loader, beside
# those of StandinVariants.cmake.
set(startup_root ${OKALU_STANDIN_ROOT})

# A library that redirects to its own directory.
okalu_add_standin_variant(r3dsdk_standin_redirect_self ${startup_root}/redirect-self
    OKALU_STANDIN_REDIRECT="${startup_root}/redirect-self")

# A chain of redirects through ten directories that names an eleventh.
foreach(link RANGE 1 10)
    math(EXPR next "${link} + 1")
    okalu_add_standin_variant(r3dsdk_standin_chain_${link} ${startup_root}/chain-${link}
        OKALU_STANDIN_REDIRECT="${startup_root}/chain-${next}")
endforeach()

# A decoder library with one core companion whose phase 2 fails with its own
# code, 42.
okalu_add_standin_variant(r3dsdk_standin_phase2_companion ${startup_root}/phase2-companion
    OKALU_STANDIN_IMPORTS="REDCompanion.dylib:52334430:0")
okalu_add_standin_variant(r3dsdk_standin_phase2_companion_lib ${startup_root}/phase2-companion
    FILE_NAME REDCompanion.dylib OKALU_STANDIN_LIB_ID=0x52334430u OKALU_STANDIN_PHASE2_RESULT=42)

# A decoder library whose import list names a CUDA companion that is not
# there, and whose "RED_IMPORTS" answers with an unknown result.
okalu_add_standin_variant(r3dsdk_standin_companion_missing ${startup_root}/companion-missing
    OKALU_STANDIN_IMPORTS="REDCuda.dylib:52334421:1" OKALU_STANDIN_IMPORTS_RESULT=0x2A)
