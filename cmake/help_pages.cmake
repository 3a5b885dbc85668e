# The manual page and the bash and zsh completions, made from the built program's own help
# (help/generate.sh), so they cannot fall behind the commands and options.
set(kzr40_help_dir ${PROJECT_BINARY_DIR}/help)
file(GLOB kzr40_help_scripts ${CMAKE_CURRENT_LIST_DIR}/help/*.sh)
add_custom_command(OUTPUT ${kzr40_help_dir}/kzr40.1 ${kzr40_help_dir}/kzr40.bash ${kzr40_help_dir}/_kzr40
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/help/generate.sh $<TARGET_FILE:kzr40-cli> ${PROJECT_VERSION} ${kzr40_help_dir}
  DEPENDS kzr40-cli ${kzr40_help_scripts}
  COMMENT "Making the manual page and the shell completions from kzr40's help")
add_custom_target(kzr40_help_pages ALL DEPENDS ${kzr40_help_dir}/kzr40.1 ${kzr40_help_dir}/kzr40.bash ${kzr40_help_dir}/_kzr40)

install(FILES ${kzr40_help_dir}/kzr40.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${kzr40_help_dir}/kzr40.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME kzr40)
install(FILES ${kzr40_help_dir}/_kzr40 DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/site-functions)
