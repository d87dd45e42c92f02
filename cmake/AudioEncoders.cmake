# Links the encoders that tests and benchmarks use to write their own music
# files: Ogg Vorbis always, FLAC and MP3 where the libraries are installed
# (the program compiles those cases only when VLO_HAVE_*_ENCODER is defined).
function(vlo_link_audio_encoders target)
  pkg_check_modules(VORBISENC REQUIRED IMPORTED_TARGET vorbisenc vorbis ogg)
  pkg_check_modules(FLAC_ENCODER IMPORTED_TARGET flac)
  pkg_check_modules(MP3_ENCODER IMPORTED_TARGET lame)
  target_link_libraries(${target} PRIVATE PkgConfig::VORBISENC)
  if(FLAC_ENCODER_FOUND)
    target_link_libraries(${target} PRIVATE PkgConfig::FLAC_ENCODER)
    target_compile_definitions(${target} PRIVATE VLO_HAVE_FLAC_ENCODER)
  endif()
  if(MP3_ENCODER_FOUND)
    target_link_libraries(${target} PRIVATE PkgConfig::MP3_ENCODER)
    target_compile_definitions(${target} PRIVATE VLO_HAVE_MP3_ENCODER)
  endif()
endfunction()
